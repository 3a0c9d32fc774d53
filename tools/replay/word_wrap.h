// Word wrap for the Cabrillo header lines. Pure; safe on any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a text into lines of at most `width` characters at blanks; a word
// longer than a line is split, never dropped. Blanks at the breaks go.
std::vector<std::string> WrapWords(std::string_view text, std::size_t width);
