// The steps of writing a whole file that differ between systems.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// A file's name as the system's own calls take it. On Windows the wide form,
// so that a link's target or a folder name with characters outside the ANSI
// code page is never turned into question marks on the way.
#if defined(_WIN32)
using SystemPath = std::wstring;
#else
using SystemPath = std::string;
#endif

// The file that `path` finally names, links followed: a link stays a link and
// its target is the file that gets written. A target that does not exist yet
// is named all the same; one that is not a file (a device, a folder) is not,
// and `path` itself is. Empty, with the system's reason, when the links go
// round in a circle.
SystemPath FinalTarget(const std::string& path, std::string& reason);

// Makes a new, empty file in the folder of `target` under a name of its own
// (the target's name, a number unique to this write and ".tmp") and opens it
// for binary writing. It never opens or replaces a file that was there: a
// name that is taken, by a file or a folder, is passed over for the next one.
// Null, with the system's reason, when no file could be made.
std::FILE* CreateTemporaryBeside(const SystemPath& target, SystemPath& temporary,
                                 std::string& reason);

// Pushes what the stream has written through to the disk.
bool FlushToDisk(std::FILE* stream);

struct MoveOutcome {
  std::string reason;        // empty when the temporary file took the target's place
  // Refused in the way the system refuses a target that another program holds
  // open; writing into the target itself may still succeed.
  bool targetInUse = false;
};

// Puts `temporary` in the place of `target` in one step, replacing a file that
// is there.
MoveOutcome ReplaceWithFile(const SystemPath& temporary, const SystemPath& target);

// Opens the existing `target` for binary writing, emptied, without locking out
// the programs that hold it open for reading, writing or deleting. Null, with
// the system's reason, when it cannot.
std::FILE* OpenInPlace(const SystemPath& target, std::string& reason);

std::FILE* OpenForReading(const SystemPath& path);
void RemoveFile(const SystemPath& path);

// Shared by the systems' halves: the end of a temporary file's name,
// ".<process>-<count>.tmp", a count of its own on every call.
std::string TemporarySuffix(unsigned long processId);
// Whether a temporary name begins with the target's name: not when that name
// is so long that the suffix would take it past what a folder entry holds
// (the suffix alone is then the name).
bool TemporaryKeepsTargetName(std::size_t nameLength);
