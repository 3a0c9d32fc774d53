// The two steps of writing a whole file that differ between systems.
#pragma once

#include <cstdio>
#include <string>

// Pushes what the stream has written through to the disk.
bool FlushToDisk(std::FILE* stream);

// Puts `temporary` in the place of `target` in one step, replacing a file that
// is there. Empty on success, otherwise the system's reason.
std::string ReplaceWithFile(const std::string& temporary, const std::string& target);
