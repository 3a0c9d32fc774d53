// The host's date-time value and its conversion to calendar fields and text.
//
// The host hands every time over as a pointer to its own date-time object: a
// day count since 30 December 1899 (the fraction is the time of day) and a
// status. The layout below is that object's, byte for byte, so the pointer can
// be read directly. Conversion follows the host's own date type so that every
// text the plug-in prints matches what the host would print for the same value.
// Pure functions; safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct COleDateTime {
  enum DateTimeStatus : int32_t { valid = 0, invalid = 1, null = 2 };

  double m_dt = 0.0;
  int32_t m_status = valid;
};

static_assert(offsetof(COleDateTime, m_dt) == 0, "host layout: day count first");
static_assert(offsetof(COleDateTime, m_status) == 8, "host layout: status at offset 8");
static_assert(sizeof(COleDateTime) == 16, "host layout: 16 bytes");

struct CalendarFields {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int dayOfWeek = 0;  // 0 = Sunday
  int dayOfYear = 0;  // 1..366
};

// The text the host's date type prints for a value it cannot convert.
inline constexpr char kInvalidDateTimeText[] = "Invalid DateTime";

// Proleptic Gregorian calendar arithmetic on the host's day numbers (days since
// 30 December 1899), for every year the host's date type knows and beyond.
bool IsLeapYear(int year);
// 28..31, or 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// The day number of a date; no range check (month 1..12, day 1..31 expected).
long long HostDayOfDate(int year, int month, int day);
void DateOfHostDay(long long hostDay, int& year, int& month, int& day);

// Today's date in local time, at midnight; invalid when the system cannot tell.
COleDateTime LocalToday();

// Copies the host's value; a null pointer reads as a null date-time.
COleDateTime ReadHostDateTime(const COleDateTime* host);

// Splits a day count into calendar fields as the host's date type does: the day
// is the count truncated toward zero, the time of day the absolute value of the
// fraction rounded to the nearest second. False for NaN and for values outside
// 1 Jan 100 .. 31 Dec 9999.
bool ToCalendarFields(double dt, CalendarFields& out);

// strftime-style formatting in the classic "C" locale. A null value gives the
// empty text; an invalid or unconvertible one gives "Invalid DateTime".
// Understood: %Y %y %m %d %H %M %S %b %B %a %A %j %p %%.
std::string FormatDateTime(const COleDateTime& value, const char* pattern);

// Day of the month and year, or -1 when the value is not valid or cannot be
// converted (as the host's date type answers).
int DayOf(const COleDateTime& value);
int YearOf(const COleDateTime& value);
