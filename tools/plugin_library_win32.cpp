#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/plugin_library.h"

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

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) {
    FreeLibrary(static_cast<HMODULE>(handle_));
  }
}

bool PluginLibrary::Open(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error = SystemMessage(GetLastError());
    return false;
  }
  handle_ = module;
  return true;
}

void* PluginLibrary::Address(const char* name) const {
  if (handle_ == nullptr) {
    return nullptr;
  }
  FARPROC proc = GetProcAddress(static_cast<HMODULE>(handle_), name);
  void* address = nullptr;
  static_assert(sizeof proc == sizeof address, "entry points are plain pointers");
  std::memcpy(&address, &proc, sizeof address);
  return address;
}

std::string ExecutableFolder() {
  char buffer[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) {
    return std::string();
  }
  std::string path(buffer, n);
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void UseBinaryStdout() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}
