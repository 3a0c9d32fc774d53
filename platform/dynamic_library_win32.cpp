#include <windows.h>

#include <string>

#include "platform/dynamic_library.h"

namespace {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n != 0 && text != nullptr ? std::string(text, n) : std::string();
  if (text != nullptr) {
    LocalFree(text);
  }
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace

DynamicLibrary::~DynamicLibrary() { Close(); }

bool DynamicLibrary::Open(const std::string& path, std::string& error) {
  Close();
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error = SystemMessage(GetLastError());
    return false;
  }
  handle_ = module;
  return true;
}

bool DynamicLibrary::Close() {
  if (handle_ == nullptr) {
    return false;
  }
  HMODULE module = static_cast<HMODULE>(handle_);
  handle_ = nullptr;
  return FreeLibrary(module) != FALSE;
}

void* DynamicLibrary::Address(const char* name) const {
  if (handle_ == nullptr) {
    return nullptr;
  }
  FARPROC proc = GetProcAddress(static_cast<HMODULE>(handle_), name);
  void* address = nullptr;
  static_assert(sizeof proc == sizeof address, "entry points are plain pointers");
  std::memcpy(&address, &proc, sizeof address);
  return address;
}
