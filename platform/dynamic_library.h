// Loading a library by file name at run time and finding its entry points by
// exported name, the way the host loads the plug-in. The tools and the test
// hosts load the plug-in through this; the plug-in itself never does.
//
// One object per loaded library; use it from one thread.
#pragma once

#include <cstring>
#include <string>

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  // Unloads a library still loaded, which runs its shut-down as the host's
  // exit would.
  ~DynamicLibrary();

  // False, with the system's reason in `error`, when the file cannot be loaded.
  bool Open(const std::string& path, std::string& error);

  // Unloads the library now. False when the system refused or nothing was
  // loaded.
  bool Close();


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

  // The address behind an exported name, or null.
  void* Address(const char* name) const;

 private:
  void* handle_ = nullptr;
};
