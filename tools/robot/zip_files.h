// The files of a zip sent as one upload, unpacked in memory with libzip.
// Names are the entries' last parts (a name, never a path); folders are
// skipped. Bounded: at most `maxFiles` files and `maxBytes` unpacked in all,
// whatever the zip claims. Safe on any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/check/submitted_log.h"

// Appends the zip's files to `out`. False, with a sentence about `zipName` in
// `problem`, when it cannot be read or passes a bound.
bool UnpackZip(const std::string& zipName, const std::string& bytes, std::size_t maxFiles,
               std::size_t maxBytes, std::vector<SubmittedFile>& out, std::string& problem);

// True for bytes that begin as a zip does.
bool LooksLikeZip(const std::string& bytes);
