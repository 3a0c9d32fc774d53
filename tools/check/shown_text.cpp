#include "tools/check/shown_text.h"

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b = byte(at);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    low = b == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
    high = b == 0xED ? 0x9F : 0xBF;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    low = b == 0xF0 ? 0x90 : 0x80;
    high = b == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
      return 0;
    }
  }
  return length;
}

}  // namespace

std::string ShownText(std::string_view text, std::size_t maxChars) {
  std::string out;
  out.reserve(text.size() < maxChars ? text.size() : maxChars + 3);
  std::size_t chars = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (chars == maxChars) {
      return out + "...";
    }
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
      ++at;
    } else if (const std::size_t length = SequenceLength(text, at)) {
      // U+0080..U+009F, the C1 controls, are C2 80..C2 9F.
      const bool control = c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
      out += control ? std::string_view("?") : text.substr(at, length);
      at += length;
    } else {
      out += '?';
      ++at;
    }
    ++chars;
  }
  return out;
}

std::string CsvField(std::string_view text) {
  std::string field(text);
  if (!field.empty() &&
      std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos) {
    field.insert(field.begin(), '\'');
  }
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    return field;
  }
  std::string quoted = "\"";
  for (char c : field) {
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  }
  return quoted + "\"";
}
