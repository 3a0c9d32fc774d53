// Byte-wise text helpers shared by every floor. White space and letter case
// are those of the classic "C" locale (blank, tab, CR, LF, VT, FF; ASCII
// letters), whatever locale the host process has set, so that answers never
// depend on the machine.
//
// Pure functions; safe on any thread.
#pragma once

#include <string>
#include <string_view>

bool IsWhiteSpace(char c);

// True for a run of one or more ASCII digits; false for the empty string.
bool AllDigits(std::string_view text);

// Without the white space at either end.
std::string_view TrimWhiteSpace(std::string_view text);

char ToUpperAscii(char c);
std::string ToUpperAscii(std::string_view text);

// Equal when letter case is ignored.
bool EqualsNoCase(std::string_view a, std::string_view b);
// True when `text` begins with `start`, letter case ignored.
bool StartsWithNoCase(std::string_view text, std::string_view start);

// Returns `source` with every `find` replaced by `replacement`; stores the
// count in `*count` when given. Replacements are never searched again. Equal
// `find` and `replacement` return the source and leave the count alone, and
// so does an empty `find` (there is nothing to replace).
std::string ReplaceAll(const std::string& source, const std::string& find,
                       const std::string& replacement, int* count = nullptr);

// printf into a string of whatever length the result needs.
#if defined(__GNUC__) && !defined(_WIN32)
__attribute__((format(printf, 1, 2)))
#endif
std::string
FormatText(const char* format, ...);
