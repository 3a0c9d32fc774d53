#include "tools/replay/printable_ascii.h"

#include <algorithm>
#include <iterator>

namespace {

// Latin-1 letters U+00C0..U+00FF as the nearest plain letters, so that a name
// keeps its reading; the two signs in the range become their ASCII look-alikes.
constexpr const char* kLatin1Letters[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I",  "I",
    "D", "N", "O", "O", "O", "O", "O",  "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "/", "o", "u", "u", "u", "u", "y", "th", "y",
};

// The Windows-1252 signs in 0x80..0x9F that have a plain counterpart.
struct CodePageSign {
  unsigned char code;
  const char* text;
};

constexpr CodePageSign kCodePageSigns[] = {
    {0x82, ","}, {0x84, "\""}, {0x85, "..."}, {0x8A, "S"},  {0x8B, "<"},  {0x8C, "OE"},
    {0x8E, "Z"}, {0x91, "'"},  {0x92, "'"},   {0x93, "\""}, {0x94, "\""}, {0x96, "-"},
    {0x97, "-"}, {0x9B, ">"},  {0x9A, "s"},   {0x9C, "oe"}, {0x9E, "z"},  {0x9F, "Y"},
};

}  // namespace

// Cabrillo allows only printable ASCII. Texts come in the system code page
// (Windows-1252) or, from files made elsewhere, UTF-8; both are read: a
// well-formed two-byte UTF-8 sequence for U+0080..U+00FF is taken as that
// character, any other byte as Windows-1252. Latin-1 letters become their plain
// letters (é -> e, ß -> ss, Æ -> AE), the typographic quotes, dashes and the
// ellipsis their ASCII forms, tab, line breaks and the no-break space a blank,
// and everything else "?", so a replaced character still shows where it was.
std::string PrintableAscii(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned int c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      continue;
    }
    if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
      const unsigned int next = static_cast<unsigned char>(text[i + 1]);
      if ((next & 0xC0) == 0x80) {
        c = ((c & 0x1F) << 6) | (next & 0x3F);
        ++i;
      }
    }
    if (c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0xA0) {
      out += ' ';
    } else if (c >= 0xC0) {
      out += kLatin1Letters[c - 0xC0];
    } else {
      const auto sign = std::find_if(std::begin(kCodePageSigns), std::end(kCodePageSigns),
                                     [c](const CodePageSign& s) { return s.code == c; });
      out += sign != std::end(kCodePageSigns) ? sign->text : "?";
    }
  }
  return out;
}
