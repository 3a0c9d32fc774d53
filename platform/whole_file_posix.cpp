#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/whole_file.h"
#include "platform/whole_file_system.h"

bool FlushToDisk(std::FILE* stream) { return ::fsync(::fileno(stream)) == 0; }

std::string ReplaceWithFile(const std::string& temporary, const std::string& target) {
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    return std::strerror(errno);
  }
  return {};
}

std::string FileIdentity(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return {};
  }
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}
