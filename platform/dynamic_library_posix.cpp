#include <dlfcn.h>

#include <string>

#include "platform/dynamic_library.h"

DynamicLibrary::~DynamicLibrary() { Close(); }

bool DynamicLibrary::Open(const std::string& path, std::string& error) {
  Close();
  // A bare file name would send dlopen searching the system's library folders;
  // the host names a file, so a name without a folder means the current one.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "cannot be loaded";
    return false;
  }
  return true;
}

bool DynamicLibrary::Close() {
  if (handle_ == nullptr) {
    return false;
  }
  void* handle = handle_;
  handle_ = nullptr;
  return dlclose(handle) == 0;
}

void* DynamicLibrary::Address(const char* name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}
