// The settings reader on any file contents: binary bytes, NUL bytes, long
// lines, no line ends, repeated sections and keys. A read never hands back
// more than 99 characters, and a value just written reads back as Windows
// would hand it back.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "contest/settings.h"
#include "fuzz_support.h"
#include "platform/profile.h"

namespace {

const char* const kPath = kSettingsPath;  // as the plug-in names it

void Check(bool ok) {
  if (!ok) {
    std::abort();
  }
}

bool IsPlainValue(const std::string& v) {
  if (v.empty()) {
    return true;
  }
  for (char c : v) {
    if (c == '\r' || c == '\n' || c == '\0' || c == '\t' || c == '\v' || c == '\f') {
      return false;
    }
  }
  return v.front() != ' ' && v.back() != ' ';
}

// What Windows hands back for a value written as is: one pair of matching
// quotes around it is dropped.
std::string ReadBack(const std::string& v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  EnterScratchFolder();
  ByteReader in(data, size);
  const std::string key = in.Text();
  const std::string value = in.Text();
  const std::string contents = in.Rest();
  std::string file = kSettingsPath;
  std::replace(file.begin(), file.end(), '\\', '/');
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(contents.data(), 1, contents.size(), f);
    std::fclose(f);
  }
  for (const char* k :
       {settings_key::kStart, settings_key::kMode, settings_key::kSoapBox, key.c_str()}) {
    Check(ProfileReadString(kPath, kSettingsSection, k, "").size() <= kProfileValueMax);
  }
  const bool plainKey = !key.empty() && key.find_first_of("=[];\r\n\t\v\f ") == std::string::npos &&
                        key.find('\0') == std::string::npos;
  if (plainKey && IsPlainValue(value)) {
    const std::string before = ProfileReadString(kPath, "Other", "x", "none");
    Check(ProfileWriteString(kPath, kSettingsSection, key, value));
    Check(ProfileReadString(kPath, kSettingsSection, key, "") ==
          ReadBack(value).substr(0, kProfileValueMax));
    Check(ProfileReadString(kPath, "Other", "x", "none") == before);
  }
  return 0;
}
