#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/whole_file.h"
#include "platform/whole_file_system.h"

namespace {

// The folder part of `path` with its trailing slash; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::string FinalTarget(const std::string& path, std::string& reason) {
  std::string at = path;
  // As many links as the system itself follows before it calls it a loop.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(at.c_str(), &st) != 0) {
      return at;  // nothing there yet (or unreachable): the write says what fails
    }
    if (!S_ISLNK(st.st_mode)) {
      // A link is followed only to a file. A device, a pipe or a folder
      // must never be renamed over: the link itself is what gets replaced.
      return at == path || S_ISREG(st.st_mode) ? at : path;
    }
    char text[PATH_MAX];
    const ssize_t n = ::readlink(at.c_str(), text, sizeof text);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof text) {
      return at;
    }
    const std::string link(text, static_cast<std::size_t>(n));
    at = !link.empty() && link.front() == '/' ? link : FolderOf(at) + link;
  }
  reason = std::strerror(ELOOP);
  return {};
}

std::FILE* CreateTemporaryBeside(const std::string& target, std::string& temporary,
                                 std::string& reason) {
  const std::string folder = FolderOf(target);
  const std::string name = target.substr(folder.size());
  const std::string stem = folder + (TemporaryKeepsTargetName(name.size()) ? name : std::string());
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = stem + TemporarySuffix(static_cast<unsigned long>(::getpid()));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) {
        continue;
      }
      reason = std::strerror(errno);
      return nullptr;
    }
    if (std::FILE* file = ::fdopen(fd, "wb")) {
      return file;
    }
    reason = std::strerror(errno);
    ::close(fd);
    ::unlink(temporary.c_str());
    return nullptr;
  }
  reason = std::strerror(EEXIST);
  return nullptr;
}

bool FlushToDisk(std::FILE* stream) { return ::fsync(::fileno(stream)) == 0; }

MoveOutcome ReplaceWithFile(const std::string& temporary, const std::string& target) {
  MoveOutcome outcome;
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    // A file the system is using in a way that pins its name (a mount point,
    // as a single file bound into a container is) cannot be renamed over,
    // but may still be written.
    outcome.targetInUse = errno == EBUSY;
    outcome.reason = std::strerror(errno);
  }
  return outcome;
}

std::FILE* OpenInPlace(const std::string& target, std::string& reason) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    reason = std::strerror(errno);
    ::close(fd);
  }
  return file;
}

std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

std::string FileIdentity(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return {};
  }
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" +
         std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}
