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

WholeFileWriter::WholeFileWriter(const std::string& path, Durability durability)
    : path_(path), temporary_(path + ".new"), durability_(durability) {
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (file_ == nullptr) {
    ok_ = false;
    error_ = errno;
  }
}

WholeFileWriter::~WholeFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(temporary_.c_str());
  }
}

void WholeFileWriter::Write(std::string_view bytes) {
  if (!ok_ || file_ == nullptr) {
    return;
  }
  const std::size_t limit = g_stopAfter;
  const std::size_t room = limit > written_ ? limit - written_ : 0;
  const std::size_t wanted = bytes.size() < room ? bytes.size() : room;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, wanted, file_) != wanted || wanted != bytes.size()) {
    ok_ = false;
    error_ = errno != 0 ? errno : ENOSPC;
  }
  written_ += wanted;
}

std::string WholeFileWriter::Commit() {
  if (committed_) {
    return "the file was committed before";
  }
  committed_ = true;
  if (file_ == nullptr) {
    return Reason(error_);
  }
  if (ok_ &&
      (std::fflush(file_) != 0 || (durability_ == Durability::kOnTheDisk && !FlushToDisk(file_)))) {
    ok_ = false;
    error_ = errno;
  }
  if (std::fclose(file_) != 0 && ok_) {
    ok_ = false;
    error_ = errno;
  }
  file_ = nullptr;
  std::string reason = ok_ ? std::string() : Reason(error_);
  if (ok_) {
    if (void (*hook)(const std::string&) = g_beforeMove) {
      hook(path_);
    }
    reason = ReplaceWithFile(temporary_, path_);
  }
  if (!reason.empty()) {
    std::remove(temporary_.c_str());
  }
  return reason;
}

std::string WriteWholeFile(const std::string& path, std::string_view bytes, Durability durability) {
  WholeFileWriter writer(path, durability);
  writer.Write(bytes);
  return writer.Commit();
}
