#include "tools/common/wpx_prefix.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text.h"

namespace {

// Operating-condition designators that say nothing about the prefix.
constexpr std::string_view kIgnoredDesignators[] = {"P", "M", "MM", "AM", "QRP", "A", "E", "J"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HasDigit(const std::string& s) { return std::any_of(s.begin(), s.end(), IsDigit); }

// The prefix of a call without any '/'. The first character always belongs to
// the letter part, so a leading digit (9A1A) is not taken for the number.
std::string BasePrefix(const std::string& call) {
  if (call.empty()) {
    return std::string();
  }
  std::size_t i = 1;
  while (i < call.size() && !IsDigit(call[i])) {
    ++i;
  }
  if (i == call.size()) {
    return call.substr(0, 2) + "0";
  }
  std::size_t j = i;
  while (j < call.size() && IsDigit(call[j])) {
    ++j;
  }
  return call.substr(0, j);
}

std::string ReplaceNumber(const std::string& prefix, const std::string& digits) {
  std::size_t end = prefix.size();
  while (end > 1 && IsDigit(prefix[end - 1])) {
    --end;
  }
  return prefix.substr(0, end) + digits;
}

std::vector<std::string> Parts(std::string_view call) {
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    const bool ignored = std::find(std::begin(kIgnoredDesignators), std::end(kIgnoredDesignators),
                                   part) != std::end(kIgnoredDesignators);
    if (!part.empty() && !ignored) {
      parts.push_back(part);
    }
    part.clear();
  };
  for (char c : call) {
    if (c == '/') {
      flush();
    } else if (!IsWhiteSpace(c)) {
      part += ToUpperAscii(c);
    }
  }
  flush();
  return parts;
}

}  // namespace

std::string WpxPrefix(std::string_view call) {
  const std::vector<std::string> parts = Parts(call);
  if (parts.empty()) {
    return std::string();
  }
  if (parts.size() == 1) {
    return BasePrefix(parts[0]);
  }
  // The home call is the longest part (the last of equally long ones); the
  // designator is the first other part.
  std::size_t home = 0;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].size() >= parts[home].size()) {
      home = i;
    }
  }
  const std::string& designator = parts[home == 0 ? 1 : 0];
  if (AllDigits(designator)) {
    return ReplaceNumber(BasePrefix(parts[home]), designator);
  }
  if (HasDigit(designator)) {
    return BasePrefix(designator);
  }
  return designator + "0";
}
