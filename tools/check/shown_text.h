// Texts from submitted files made safe to show: on a terminal, in a UTF-8
// page, in a tab-separated or comma-separated file. A stranger's field can hold
// escape sequences, bytes of any code page and megabytes; what is shown of it
// is valid UTF-8 without control characters and a few dozen characters long.
//
// Pure functions; safe on any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How much of a stranger's text a message, a report or a page quotes.
inline constexpr std::size_t kQuotedChars = 40;

// `text` as valid UTF-8: every control character (C0, DEL, C1), and every byte
// that is not part of a well-formed UTF-8 sequence, becomes "?". Longer than
// `maxChars` characters, it is cut there and ends in "...".
std::string ShownText(std::string_view text, std::size_t maxChars = kQuotedChars);

// A CSV field: quoted when it holds a comma, a quote or a line end, and a text
// that a spreadsheet would take for a formula (a leading "=", "+", "-", "@",
// tab or CR) gets a leading "'".
std::string CsvField(std::string_view text);
