#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "host_platform.h"
#include "host_scenario.h"

void* OpenLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* FindEntryPoint(void* library, const char* name) { return dlsym(library, name); }

bool CloseLibrary(void* library) { return dlclose(library) == 0; }

std::string LibraryError() {
  const char* e = dlerror();
  return e != nullptr ? e : "";
}

bool ExportsDecoratedNames() { return false; }

void MakeFolder(const std::string& path) { mkdir(path.c_str(), 0755); }

bool ChangeFolder(const std::string& path) { return chdir(path.c_str()) == 0; }

void RemoveFile(const std::string& path) { std::remove(path.c_str()); }

std::string LoaderPath(const std::string& path) {
  if (!path.empty() && path[0] == '/') {
    return path;
  }
  char cwd[4096];
  return std::string(getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".") + "/" + path;
}

unsigned long MillisecondsNow() {
  using namespace std::chrono;
  return static_cast<unsigned long>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int RunWindowChecks(const EntryPoints&) {
  std::printf("window checks: no window system here, skipped\n");
  return 0;
}
