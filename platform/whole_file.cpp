#include "platform/whole_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/whole_file_system.h"

namespace {

std::atomic<std::size_t> g_stopAfter{static_cast<std::size_t>(-1)};
std::atomic<void (*)(const std::string&)> g_beforeMove{nullptr};
std::atomic<bool> g_targetHeldOpen{false};

std::string Reason(int error) {
  return error != 0 ? std::string(std::strerror(error)) : std::string("write failed");
}

// Writes all of `bytes`; false, with errno, when the system took fewer.
bool WriteAll(std::FILE* file, std::string_view bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) {
    return true;
  }
  if (errno == 0) {
    errno = ENOSPC;
  }
  return false;
}

bool Flush(std::FILE* file, Durability durability) {
  return std::fflush(file) == 0 && (durability != Durability::kOnTheDisk || FlushToDisk(file));
}

}  // namespace

void SetWholeFileFaults(const WholeFileFaults& faults) {
  g_stopAfter = faults.stopAfter;
  g_beforeMove = faults.beforeMove;
  g_targetHeldOpen = faults.targetHeldOpen;
}

std::string TemporarySuffix(unsigned long processId) {
  static std::atomic<unsigned long> count{0};
  return "." + std::to_string(processId) + "-" + std::to_string(++count) + ".tmp";
}

bool TemporaryKeepsTargetName(std::size_t nameLength) {
  // Folder entries hold 255 bytes or characters on the systems we meet; the
  // suffix takes at most 2 + 10 + 20 + 4 of them.
  return nameLength <= 200;
}

WholeFileWriter::WholeFileWriter(const std::string& path, Durability durability)
    : path_(path), durability_(durability) {
  target_ = FinalTarget(path, reason_);
  if (!target_.empty()) {
    file_ = CreateTemporaryBeside(target_, temporary_, reason_);
  }
  ok_ = file_ != nullptr;
}

WholeFileWriter::~WholeFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    RemoveFile(temporary_);
  }
}

void WholeFileWriter::Write(std::string_view bytes) {
  if (!ok_ || file_ == nullptr) {
    return;
  }
  const std::size_t limit = g_stopAfter;
  const std::size_t room = limit > written_ ? limit - written_ : 0;
  const std::size_t wanted = bytes.size() < room ? bytes.size() : room;
  if (!WriteAll(file_, bytes.substr(0, wanted)) || wanted != bytes.size()) {
    ok_ = false;
    error_ = errno != 0 ? errno : ENOSPC;
  }
  written_ += wanted;
}

std::string WholeFileWriter::Commit() { return Commit(nullptr); }

std::string WholeFileWriter::Commit(const std::string_view* whole) {
  if (committed_) {
    return "the file was committed before";
  }
  committed_ = true;
  if (file_ == nullptr) {
    return reason_;
  }
  if (ok_ && !Flush(file_, durability_)) {
    ok_ = false;
    error_ = errno;
  }
  if (std::fclose(file_) != 0 && ok_) {
    ok_ = false;
    error_ = errno;
  }
  file_ = nullptr;
  if (!ok_) {
    RemoveFile(temporary_);
    return Reason(error_);
  }
  if (void (*hook)(const std::string&) = g_beforeMove) {
    hook(path_);
  }
  MoveOutcome moved;
  if (g_targetHeldOpen) {
    moved.targetInUse = true;
  } else {
    moved = ReplaceWithFile(temporary_, target_);
  }
  if (moved.targetInUse) {
    return WriteInPlace(whole);
  }
  if (!moved.reason.empty()) {
    RemoveFile(temporary_);
  }
  return moved.reason;
}

// The target is held open by a program that may still let us write it: its
// new bytes go into it where it is. What is reported is why this write failed,
// not the refused move.
std::string WholeFileWriter::WriteInPlace(const std::string_view* whole) {
  std::FILE* source = nullptr;
  if (whole != nullptr) {
    RemoveFile(temporary_);
  } else {
    source = OpenForReading(temporary_);
    if (source == nullptr) {
      const std::string reason = Reason(errno);
      RemoveFile(temporary_);
      return reason;
    }
  }
  std::string reason;
  if (std::FILE* target = OpenInPlace(target_, reason)) {
    int error = 0;
    if (whole != nullptr) {
      error = WriteAll(target, *whole) ? 0 : errno;
    } else {
      char buffer[1 << 14];
      std::size_t got = 0;
      while (error == 0 && (got = std::fread(buffer, 1, sizeof buffer, source)) > 0) {
        error = WriteAll(target, std::string_view(buffer, got)) ? 0 : errno;
      }
      if (error == 0 && std::ferror(source) != 0) {
        error = EIO;
      }
    }
    if (error == 0 && !Flush(target, durability_)) {
      error = errno != 0 ? errno : EIO;
    }
    if (std::fclose(target) != 0 && error == 0) {
      error = errno != 0 ? errno : EIO;
    }
    if (error != 0) {
      reason = Reason(error);
    }
  }
  if (source != nullptr) {
    std::fclose(source);
    RemoveFile(temporary_);
  }
  return reason;
}

std::string WriteWholeFile(const std::string& path, std::string_view bytes, Durability durability) {
  WholeFileWriter writer(path, durability);
  writer.Write(bytes);
  return writer.Commit(&bytes);
}
