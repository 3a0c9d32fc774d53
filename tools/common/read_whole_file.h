// Reading a whole file as bytes, with the system's reason when that fails
// (writing is platform/whole_file.h). Safe on any thread (the reason comes
// from errno, which is per thread).
#pragma once

#include <cstddef>
#include <string>

// Appends the bytes of the file at `path` to `bytes`. False, with the reason in
// `error`, when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Reads a file a stranger sent: only a regular file, opened without following
// a link and without waiting on a pipe or a device, and at most `maxBytes`
// bytes of it. False, with the reason in `error` (a sentence fragment such as
// "it is not a regular file"), otherwise; `bytes` is then left empty.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& error);
