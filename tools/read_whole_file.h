// Reading a whole file as bytes, with the system's reason when that fails
// (writing is platform/whole_file.h). Safe on any thread (the reason comes
// from errno, which is per thread).
#pragma once

#include <string>

// Appends the bytes of the file at `path` to `bytes`. False, with the reason in
// `error`, when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);
