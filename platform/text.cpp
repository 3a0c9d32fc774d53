#include "platform/text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view TrimWhiteSpace(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsWhiteSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    c = ToUpperAscii(c);
  }
  return upper;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  if (start.size() > text.size()) {
    return false;
  }
  for (std::size_t i = 0; i < start.size(); ++i) {
    if (ToUpperAscii(text[i]) != ToUpperAscii(start[i])) {
      return false;
    }
  }
  return true;
}

std::string ReplaceAll(const std::string& source, const std::string& find,
                       const std::string& replacement, int* count) {
  if (find == replacement || find.empty()) {
    return source;
  }
  std::string result;
  int n = 0;
  std::size_t from = 0;
  for (std::size_t at = source.find(find); at != std::string::npos; at = source.find(find, from)) {
    result.append(source, from, at - from);
    result += replacement;
    from = at + find.size();
    ++n;
  }
  result.append(source, from, std::string::npos);
  if (count != nullptr) {
    *count = n;
  }
  return result;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return text;
}
