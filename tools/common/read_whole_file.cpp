#include "tools/common/read_whole_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string TooLarge(std::size_t maxBytes) {
  return "it is larger than " + std::to_string(maxBytes >> 20) + " MiB";
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    bytes.append(buffer, n);
  }
  const bool failed = std::ferror(f) != 0;
  const int readErrno = errno;
  std::fclose(f);
  if (failed) {
    error = std::strerror(readErrno);
    return false;
  }
  return true;
}

#ifdef _WIN32

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& error) {
  bytes.clear();
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
  if (ec || !std::filesystem::is_regular_file(status)) {
    error = ec ? ec.message() : "it is not a regular file";
    return false;
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  std::size_t n = 0;
  while (bytes.size() <= maxBytes && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    bytes.append(buffer, n);
  }
  const bool failed = std::ferror(f) != 0;
  const int readErrno = errno;
  std::fclose(f);
  if (failed || bytes.size() > maxBytes) {
    error = failed ? std::strerror(readErrno) : TooLarge(maxBytes);
    bytes.clear();
    return false;
  }
  return true;
}

#else

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& error) {
  bytes.clear();
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused
  // below as not regular.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = errno == ELOOP ? "it is a link" : std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "it is not a regular file";
    ::close(fd);
    return false;
  }
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
    error = TooLarge(maxBytes);
    ::close(fd);
    return false;
  }
  bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t have = 0;
  while (have < bytes.size()) {
    // A file that grows while it is read is read up to one byte past the cap.
    const ssize_t n = ::read(fd, &bytes[have], bytes.size() - have);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      error = std::strerror(errno);
      ::close(fd);
      bytes.clear();
      return false;
    }
    if (n == 0) {
      break;
    }
    have += static_cast<std::size_t>(n);
    if (have == bytes.size() && have <= maxBytes) {
      bytes.resize(std::min(maxBytes + 1, bytes.size() * 2));
    }
  }
  ::close(fd);
  bytes.resize(have);
  if (have > maxBytes) {
    error = TooLarge(maxBytes);
    bytes.clear();
    return false;
  }
  return true;
}

#endif
