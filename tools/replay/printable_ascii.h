// Texts made printable ASCII for a Cabrillo log, keeping their reading. Pure;
// safe on any thread.
#pragma once

#include <string>
#include <string_view>

// Printable ASCII for a text in the system code page or UTF-8 (see the .cpp).
std::string PrintableAscii(std::string_view text);
