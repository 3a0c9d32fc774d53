// What the robot takes from a stranger at most. Each limit is answered with a
// page saying which one was passed (413 for the request's size); README lists
// them.
#pragma once

#include <cstddef>

// One request: the form and all its files, about a hundred 1,000-line logs.
inline constexpr std::size_t kMaxRequestBytes = std::size_t{8} << 20;
// Files of one upload (a zip's files count one by one): the seven per-mode
// logs, the summary sheet and room for copies.
inline constexpr std::size_t kMaxUploadFiles = 16;
// Lines of one file: ten times a busy station's log of a two-day contest.
inline constexpr std::size_t kMaxFileLines = 20000;
// The form's texts. A call follows the checker's rules.
inline constexpr std::size_t kMaxEmailChars = 100;
inline constexpr std::size_t kMaxClubChars = 60;
inline constexpr std::size_t kMaxFileNameChars = 100;
// A zip's files together, unpacked.
inline constexpr std::size_t kMaxUnzippedBytes = kMaxRequestBytes;
