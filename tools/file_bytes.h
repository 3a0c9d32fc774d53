// Whole files as bytes, with the system's reason when that fails. Safe on any
// thread (the reason comes from errno, which is per thread).
#pragma once

#include <string>

// Appends the bytes of the file at `path` to `bytes`. False, with the reason in
// `error`, when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes `bytes` as the whole file at `path`. False, with the reason in
// `error`, when it cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error);
