// Writing a file whole or not at all. The bytes go to a temporary file beside
// the target, are flushed to the disk, and only then take the target's place
// in one step of the system's; when anything fails on the way the target
// stays exactly as it was and the temporary file is removed. A reader never
// sees a half-written file, and a full disk never costs the last good one.
//
// The temporary file has a name of its own for every write, made new in the
// target's folder: no other writer's file, no file of the user's and no
// folder of that name is ever opened, replaced or removed. A target that is a
// link to a file is followed: the link stays and the file it names is
// replaced (a link to a device or a folder is itself replaced).
//
// When the system refuses the replacement only because another program holds
// the target open (Windows does, even for a program that shares it), the new
// bytes are written into the target itself instead, which that program lets
// us do when it shares the file for writing. That write is not whole or not at
// all: a reader may meet the file half-written, and a failure on the way
// leaves it cut short (and is reported). WriteWholeFile removes the temporary
// file first, so the room it proved is there for the bytes; WholeFileWriter
// copies from it and removes it after.
//
// Safe on any thread; two writers of one target leave one of their files.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/whole_file_system.h"

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
// removes its temporary file.
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
  friend std::string WriteWholeFile(const std::string&, std::string_view, Durability);
  // `whole`, when given, is every byte written: the in-place fallback takes
  // them from memory rather than from the temporary file.
  std::string Commit(const std::string_view* whole);
  std::string WriteInPlace(const std::string_view* whole);

  std::string path_;
  SystemPath target_;  // where `path_` leads, links followed
  SystemPath temporary_;
  Durability durability_;
  std::FILE* file_ = nullptr;
  std::size_t written_ = 0;
  bool ok_ = true;
  int error_ = 0;       // errno of the first failure; 0 when the system gave none
  std::string reason_;  // the system's reason when no temporary file could be made
  bool committed_ = false;
};

// Which file stands at `path` and when it was last written, as a text that
// changes whenever another file takes its place or the file is written in
// place (every successful WriteWholeFile does one or the other); empty when
// there is none. Lets a reader tell a rewritten file from one left as it was.
std::string FileIdentity(const std::string& path);

// Faults a test can inject into every WriteWholeFile until they are reset:
// the write of the temporary file stops after `stopAfter` bytes as on a full
// disk, `beforeMove` runs just before the temporary file takes the target's
// place, and `targetHeldOpen` has the move refused as Windows refuses it for a
// file another program holds open.
struct WholeFileFaults {
  std::size_t stopAfter = static_cast<std::size_t>(-1);
  void (*beforeMove)(const std::string& target) = nullptr;
  bool targetHeldOpen = false;
};
void SetWholeFileFaults(const WholeFileFaults& faults);
