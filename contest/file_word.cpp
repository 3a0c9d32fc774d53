#include "contest/file_word.h"

#include <string_view>

#include "platform/text.h"

namespace {

constexpr char kEmptyWord[] = "QZHC";

// Windows device names: a file named after one (with any extension) opens the
// device instead of a file.
constexpr std::string_view kDeviceNames[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

bool IsForbiddenInFileName(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
         c == '*';
}

// Windows looks at the part before the first dot, trailing blanks ignored.
bool IsDeviceName(const std::string& word) {
  std::string_view base(word);
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') {
    base.remove_suffix(1);
  }
  for (std::string_view device : kDeviceNames) {
    if (EqualsNoCase(base, device)) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string FileWordOf(const std::string& callsign) {
  std::string word(TrimWhiteSpace(ReplaceAll(ReplaceAll(callsign, "/", "_"), "\\", "_")));
  if (word.empty()) {
    return kEmptyWord;
  }
  for (char& c : word) {
    if (IsForbiddenInFileName(c)) {
      c = '_';
    }
  }
  if (IsDeviceName(word)) {
    word.insert(0, "_");
  }
  return word;
}
