// Writing a file whole or not at all. The bytes go to a temporary file beside
// the target, are flushed to the disk, and only then take the target's place
// in one step of the system's; when anything fails on the way the target
// stays exactly as it was and the temporary file is removed. A reader never
// sees a half-written file, and a full disk never costs the last good one.
//
// Safe on any thread; two writers of one target leave one of their files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class Durability {
  kWritten,    // in the system's hands: safe when the program dies
  kOnTheDisk,  // flushed to the disk as well: safe when the machine dies
};

// Empty on success, otherwise the system's reason.
std::string WriteWholeFile(const std::string& path, std::string_view bytes,
                           Durability durability = Durability::kOnTheDisk);

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
