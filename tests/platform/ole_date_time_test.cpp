#include "platform/ole_date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>

namespace {

COleDateTime Valid(double dt) {
  COleDateTime t;
  t.m_dt = dt;
  return t;
}

std::string Fields(double dt) {
  CalendarFields f;
  if (!ToCalendarFields(dt, f)) {
    return "cannot convert";
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour,
                f.minute, f.second);
  return buf;
}

}  // namespace

TEST(OleDateTime, DayCountsAroundTheEpoch) {
  EXPECT_EQ("1899-12-30 00:00:00", Fields(0.0));
  EXPECT_EQ("1899-12-31 12:00:00", Fields(1.5));
  EXPECT_EQ("1970-01-01 00:00:00", Fields(25569.0));
  EXPECT_EQ("2016-02-13 09:05:00", Fields(42413.0 + (9 * 60 + 5) / 1440.0));
  // The day truncates toward zero and the time of day is the fraction's size.
  EXPECT_EQ("1899-12-30 06:00:00", Fields(-0.25));
  EXPECT_EQ("1899-12-29 06:00:00", Fields(-1.25));
  EXPECT_EQ("1899-12-29 18:00:00", Fields(-1.75));
}

TEST(OleDateTime, TimeRoundsToTheNearestSecond) {
  EXPECT_EQ("2000-01-01 00:00:01", Fields(36526.0 + 1.4 / 86400.0));
  EXPECT_EQ("2000-01-01 00:00:02", Fields(36526.0 + 1.6 / 86400.0));
  EXPECT_EQ("2000-01-01 00:01:00", Fields(36526.0 + 59.7 / 86400.0));
  // Rounding past midnight carries into the next calendar day.
  EXPECT_EQ("2000-01-02 00:00:00", Fields(36526.0 + 86399.8 / 86400.0));
  // Before the epoch the carry still goes forward in the calendar: day -1 is
  // 29 Dec 1899, and a time that rounds to 24:00 gives 30 Dec.
  EXPECT_EQ("1899-12-30 00:00:00", Fields(-1.0 - 0.9999999));
  // The carry crosses month and year ends, and the weekday and day of the
  // year are those of the date shown.
  EXPECT_EQ("2015-12-01 00:00:00", Fields(42338.0 + 86399.8 / 86400.0));
  EXPECT_EQ("2016-01-01 00:00:00", Fields(42369.0 + 86399.8 / 86400.0));
  CalendarFields f;
  ASSERT_TRUE(ToCalendarFields(42369.0 + 86399.8 / 86400.0, f));
  EXPECT_EQ(5, f.dayOfWeek) << "1 Jan 2016 was a Friday";
  EXPECT_EQ(1, f.dayOfYear);
}

TEST(OleDateTime, RangeEndsAndNaN) {
  EXPECT_EQ("0100-01-01 00:00:00", Fields(-657434.0));
  EXPECT_EQ("0100-01-01 12:00:00", Fields(-657434.5));
  EXPECT_EQ("cannot convert", Fields(-657435.0));
  EXPECT_EQ("9999-12-31 00:00:00", Fields(2958465.0));
  EXPECT_EQ("9999-12-31 23:59:00", Fields(2958465.0 + 1439.0 / 1440.0));
  EXPECT_EQ("cannot convert", Fields(2958466.0));
  EXPECT_EQ("cannot convert", Fields(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ("cannot convert", Fields(std::numeric_limits<double>::infinity()));
  EXPECT_EQ("cannot convert", Fields(-std::numeric_limits<double>::infinity()));
  EXPECT_EQ("cannot convert", Fields(1e300));
}

TEST(OleDateTime, FormattingPatternsAndStatuses) {
  const COleDateTime t = Valid(42413.0 + (9 * 60 + 5) / 1440.0);  // 13 Feb 2016 09:05
  EXPECT_EQ("2016-02-13 0905", FormatDateTime(t, "%Y-%m-%d %H%M"));
  EXPECT_EQ("13.02", FormatDateTime(t, "%d.%m"));
  EXPECT_EQ("13.02.2016", FormatDateTime(t, "%d.%m.%Y"));
  EXPECT_EQ("09:05", FormatDateTime(t, "%H:%M"));
  EXPECT_EQ("Feb", FormatDateTime(t, "%b"));
  EXPECT_EQ("13-Feb-2016", FormatDateTime(t, "%d-%b-%Y"));
  EXPECT_EQ("Saturday February 044 AM 100%", FormatDateTime(t, "%A %B %j %p 100%%"));

  COleDateTime null = t;
  null.m_status = COleDateTime::null;
  EXPECT_EQ("", FormatDateTime(null, "%Y-%m-%d %H%M"));
  COleDateTime invalid = t;
  invalid.m_status = COleDateTime::invalid;
  EXPECT_EQ("Invalid DateTime", FormatDateTime(invalid, "%Y"));
  EXPECT_EQ("Invalid DateTime", FormatDateTime(Valid(std::nan("")), "%Y"));
  EXPECT_EQ("Invalid DateTime", FormatDateTime(Valid(3e6), "%b"));
}

TEST(OleDateTime, DayAndYearAnswerMinusOneWhenNotValid) {
  const COleDateTime t = Valid(42413.5);
  EXPECT_EQ(13, DayOf(t));
  EXPECT_EQ(2016, YearOf(t));
  COleDateTime null = t;
  null.m_status = COleDateTime::null;
  EXPECT_EQ(-1, DayOf(null));
  EXPECT_EQ(-1, YearOf(null));
  EXPECT_EQ(-1, DayOf(Valid(-1e7)));
}

TEST(OleDateTime, NullPointerReadsAsNullValue) {
  EXPECT_EQ(COleDateTime::null, ReadHostDateTime(nullptr).m_status);
  COleDateTime host = Valid(1.25);
  host.m_status = COleDateTime::invalid;
  const COleDateTime copy = ReadHostDateTime(&host);
  EXPECT_EQ(1.25, copy.m_dt);
  EXPECT_EQ(COleDateTime::invalid, copy.m_status);
}

TEST(OleDateTimeTest, TodayIsTheLocalDate) {
  const std::time_t now = std::time(nullptr);
  char expected[16];
  std::strftime(expected, sizeof expected, "%Y-%m-%d", std::localtime(&now));
  const COleDateTime today = LocalToday();
  EXPECT_EQ(COleDateTime::valid, today.m_status);
  EXPECT_EQ(expected, FormatDateTime(today, "%Y-%m-%d"));
  EXPECT_EQ("0000", FormatDateTime(today, "%H%M")) << "midnight";
}

TEST(OleDateTimeTest, CalendarArithmeticCountsFromTheHostsDayZero) {
  EXPECT_EQ(0, HostDayOfDate(1899, 12, 30));
  EXPECT_EQ(25569, HostDayOfDate(1970, 1, 1));
  EXPECT_EQ(-657434, HostDayOfDate(100, 1, 1));
  EXPECT_EQ(2958465, HostDayOfDate(9999, 12, 31));
  // Every day of four centuries (leap days of 1900, 2000 and 2100 included)
  // comes back as the date it was made from.
  long long expected = HostDayOfDate(1899, 12, 30);
  for (int year = 1899; year <= 2300; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        if (year == 1899 && (month < 12 || day < 30)) {
          continue;
        }
        ASSERT_EQ(expected, HostDayOfDate(year, month, day)) << year << "-" << month << "-" << day;
        int y = 0;
        int m = 0;
        int d = 0;
        DateOfHostDay(expected, y, m, d);
        ASSERT_EQ(year * 10000 + month * 100 + day, y * 10000 + m * 100 + d);
        ++expected;
      }
    }
  }
  EXPECT_EQ(29, DaysInMonth(2000, 2));
  EXPECT_EQ(28, DaysInMonth(1900, 2));
  EXPECT_EQ(28, DaysInMonth(2100, 2));
  EXPECT_EQ(0, DaysInMonth(2016, 13));
}
