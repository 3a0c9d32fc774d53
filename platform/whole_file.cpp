#include "platform/whole_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/whole_file_system.h"

namespace {

std::atomic<std::size_t> g_stopAfter{static_cast<std::size_t>(-1)};
std::atomic<void (*)(const std::string&)> g_beforeMove{nullptr};

std::string Reason(int error) {
  return error != 0 ? std::string(std::strerror(error)) : std::string("write failed");
}

}  // namespace

void SetWholeFileFaults(const WholeFileFaults& faults) {
  g_stopAfter = faults.stopAfter;
  g_beforeMove = faults.beforeMove;
}

std::string WriteWholeFile(const std::string& path, std::string_view bytes,
                           Durability durability) {
  const std::string temporary = path + ".new";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) {
    return Reason(errno);
  }
  const std::size_t limit = g_stopAfter;
  const std::size_t wanted = bytes.size() < limit ? bytes.size() : limit;
  errno = 0;
  bool ok = std::fwrite(bytes.data(), 1, wanted, f) == wanted && wanted == bytes.size();
  int error = ok ? 0 : (errno != 0 ? errno : ENOSPC);
  if (ok && (std::fflush(f) != 0 ||
             (durability == Durability::kOnTheDisk && !FlushToDisk(f)))) {
    ok = false;
    error = errno;
  }
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    error = errno;
  }
  std::string reason = ok ? std::string() : Reason(error);
  if (ok) {
    if (void (*hook)(const std::string&) = g_beforeMove) {
      hook(path);
    }
    reason = ReplaceWithFile(temporary, path);
  }
  if (!reason.empty()) {
    std::remove(temporary.c_str());
  }
  return reason;
}
