#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "tools/plugin_library.h"

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) {
    dlclose(handle_);
  }
}

bool PluginLibrary::Open(const std::string& path, std::string& error) {
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

void* PluginLibrary::Address(const char* name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) {
    return std::string();
  }
  std::string path(buffer, static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void UseBinaryStdout() {}
