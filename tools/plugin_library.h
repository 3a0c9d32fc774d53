// Loading the plug-in library the way the host does: by file name at run time,
// then each entry point by its exported plain name. Also the two other things
// the command line needs from the operating system.
//
// One object per loaded library; used from one thread.
#pragma once

#include <cstring>
#include <string>

class PluginLibrary {
 public:
  PluginLibrary() = default;
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;
  // Unloads the library, which runs its shut-down as the host's exit would.
  ~PluginLibrary();

  // False, with the system's reason in `error`, when the file cannot be loaded.
  bool Open(const std::string& path, std::string& error);

  // The entry point of that exported name as a function pointer of type F,
  // or null when the library does not export it.
  template <class F>
  F Find(const char* name) const {
    static_assert(sizeof(F) == sizeof(void*), "entry points are plain pointers");
    void* address = Address(name);
    F function = nullptr;
    std::memcpy(&function, &address, sizeof function);
    return function;
  }

 private:
  void* Address(const char* name) const;

  void* handle_ = nullptr;
};

// The folder that holds the running program, with a trailing separator; empty
// when the system does not tell.
std::string ExecutableFolder();

// The plug-in's texts carry their own CR LF line ends: stdout must pass them
// through unchanged.
void UseBinaryStdout();
