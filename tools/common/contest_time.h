// The contest's dates and minutes as both tools read them: ADIF dates and
// times, the YYYY-MM-DD of QSO lines and command lines, and the minute count
// (minutes since 30 December 1899) that the checker sorts and matches QSOs by.
// Pure functions; safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ole_date_time.h"

constexpr int kMinutesPerDay = 24 * 60;

// Days since 30 December 1899 for an ADIF date "YYYYMMDD"; empty when it is not
// a calendar date from 1900 to 9999.
std::optional<long> DayNumberOfDate(std::string_view yyyymmdd);

// The same for "YYYY-MM-DD", the form of QSO lines and of the tools' options.
std::optional<long> DayNumberOfIsoDate(std::string_view yyyy_mm_dd);

// A date option given as YYYY-MM-DD or YYYYMMDD, as days since 30 December
// 1899.
std::optional<long> ParseOptionDate(const std::string& text);

// Seconds since midnight for an ADIF time "HHMM" or "HHMMSS".
std::optional<long> SecondsOfTime(std::string_view time);

// The host's date-time value for a day number and a time of day.
COleDateTime HostDateTime(long dayNumber, long secondsOfDay = 0);

// The host's date-time value of a minute count.
COleDateTime HostDateTimeOfMinute(long minute);

// The minute count of seconds since 1970 (the system clock's), rounded down.
std::int64_t MinuteOfUnixTime(std::int64_t seconds);
