#include "contest/settings.h"

#include <cctype>
#include <climits>
#include <utility>

#include "platform/profile.h"

int LeadingInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;
    }
  }
  if (negative) {
    value = -value;
  }
  if (value > INT_MAX) {
    return INT_MAX;
  }
  return static_cast<int>(value);
}

Settings::Settings(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {}

std::string Settings::Read(const char* key, const std::string& fallback) const {
  return ProfileReadString(path_, section_, key, fallback);
}

void Settings::Write(const char* key, const std::string& value) const {
  ProfileWriteString(path_, section_, key, value);
}

int Settings::ReadNumber(const char* key) const { return LeadingInt(Read(key)); }

void Settings::WriteNumber(const char* key, int value) const {
  Write(key, std::to_string(value));
}
