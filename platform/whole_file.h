// Writing a file whole or not at all. The bytes go to a temporary file beside
// the target, are flushed to the disk, and only then take the target's place
// in one step of the system's; when anything fails on the way the target
// stays exactly as it was and the temporary file is removed. A reader never
// sees a half-written file, and a full disk never costs the last good one.
//
// Safe on any thread; two writers of one target leave one of their files.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

enum class Durability {
  kWritten,    // in the system's hands: safe when the program dies
  kOnTheDisk,  // flushed to the disk as well: safe when the machine dies
};

// Empty on success, otherwise the system's reason.
std::string WriteWholeFile(const std::string& path, std::string_view bytes,
                           Durability durability = Durability::kOnTheDisk);

// The same for a file too large to hold in memory at once: its bytes come in
// pieces and take the target's place only at Commit. A writer that goes away
// without committing (or whose Commit fails) leaves the target as it was and
// removes its temporary file. One writer per target at a time.
class WholeFileWriter {
 public:
  explicit WholeFileWriter(const std::string& path, Durability durability = Durability::kOnTheDisk);
  ~WholeFileWriter();
  WholeFileWriter(const WholeFileWriter&) = delete;
  WholeFileWriter& operator=(const WholeFileWriter&) = delete;

  // Appends the bytes; a failure is kept for Commit, and later pieces are
  // dropped.
  void Write(std::string_view bytes);

  // Puts the file in the target's place. Empty on success, otherwise the
  // system's reason for the first failure on the way.
  std::string Commit();

 private:
  std::string path_;
  std::string temporary_;
  Durability durability_;
  std::FILE* file_ = nullptr;
  std::size_t written_ = 0;
  bool ok_ = true;
  int error_ = 0;  // errno of the first failure; 0 when the system gave none
  bool committed_ = false;
};

// Which file stands at `path`, as a text that changes whenever another file
// takes its place (every successful WriteWholeFile does); empty when there is
// none. Lets a reader tell a rewritten file from one left as it was.
std::string FileIdentity(const std::string& path);

// Faults a test can inject into every WriteWholeFile until they are reset:
// the write stops after `stopAfter` bytes as on a full disk, and `beforeMove`
// runs just before the temporary file takes the target's place.
struct WholeFileFaults {
  std::size_t stopAfter = static_cast<std::size_t>(-1);
  void (*beforeMove)(const std::string& target) = nullptr;
};
void SetWholeFileFaults(const WholeFileFaults& faults);
