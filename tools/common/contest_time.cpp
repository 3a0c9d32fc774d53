#include "tools/common/contest_time.h"

#include "platform/text.h"

namespace {

constexpr std::int64_t kDay1970 = 25569;  // 1970-01-01 in days since 30 December 1899

long DigitsValue(std::string_view s) {
  long v = 0;
  for (char c : s) {
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

std::optional<long> DayNumberOfDate(std::string_view text) {
  text = TrimWhiteSpace(text);
  if (text.size() != 8 || !AllDigits(text)) {
    return std::nullopt;
  }
  const int y = static_cast<int>(DigitsValue(text.substr(0, 4)));
  const int m = static_cast<int>(DigitsValue(text.substr(4, 2)));
  const int d = static_cast<int>(DigitsValue(text.substr(6, 2)));
  if (y < 1900 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) {
    return std::nullopt;
  }
  return static_cast<long>(HostDayOfDate(y, m, d));
}

std::optional<long> DayNumberOfIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
    return std::nullopt;
  }
  std::string digits(text.substr(0, 4));
  digits.append(text.substr(5, 2)).append(text.substr(8, 2));
  return DayNumberOfDate(digits);
}

std::optional<long> SecondsOfTime(std::string_view text) {
  text = TrimWhiteSpace(text);
  if ((text.size() != 4 && text.size() != 6) || !AllDigits(text)) {
    return std::nullopt;
  }
  const long h = DigitsValue(text.substr(0, 2));
  const long m = DigitsValue(text.substr(2, 2));
  const long s = text.size() == 6 ? DigitsValue(text.substr(4, 2)) : 0;
  if (h > 23 || m > 59 || s > 59) {
    return std::nullopt;
  }
  return h * 3600 + m * 60 + s;
}

COleDateTime HostDateTime(long dayNumber, long secondsOfDay) {
  return COleDateTime{static_cast<double>(dayNumber) + static_cast<double>(secondsOfDay) / 86400.0,
                      COleDateTime::valid};
}

std::optional<long> ParseOptionDate(const std::string& text) {
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    return DayNumberOfIsoDate(text);
  }
  if (text.size() == 8) {
    return DayNumberOfDate(text);
  }
  return std::nullopt;
}

COleDateTime HostDateTimeOfMinute(long minute) {
  return HostDateTime(minute / kMinutesPerDay, minute % kMinutesPerDay * 60L);
}

std::int64_t MinuteOfUnixTime(std::int64_t seconds) {
  return kDay1970 * kMinutesPerDay + (seconds >= 0 ? seconds / 60 : (seconds - 59) / 60);
}
