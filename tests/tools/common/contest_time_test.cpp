#include "tools/common/contest_time.h"

#include <gtest/gtest.h>

namespace {

TEST(ContestTimeTest, DatesCountDaysFromTheHostsEpoch) {
  EXPECT_EQ(2, DayNumberOfDate("19000101"));
  EXPECT_EQ(42413, DayNumberOfDate("20160213"));
  EXPECT_EQ(42429, DayNumberOfDate("20160229"));
  EXPECT_EQ(36585, DayNumberOfDate("20000229"));
  for (const char* bad : {"", "2016021", "2016-02-13", "20150229", "21000229", "20161301",
                          "20160200", "20160431", "18991231", "2016021X"}) {
    EXPECT_FALSE(DayNumberOfDate(bad).has_value()) << "for '" << bad << "'";
  }
  EXPECT_EQ(42429, DayNumberOfIsoDate("2016-02-29"));
  for (const char* bad :
       {"20160213", "2016-02-30", "2016/02/13", "2016-2-13", "2016-02-1 ", "1899-12-31"}) {
    EXPECT_FALSE(DayNumberOfIsoDate(bad).has_value()) << "for '" << bad << "'";
  }
}

TEST(ContestTimeTest, TimesAreHhmmOrHhmmss) {
  EXPECT_EQ(34200, SecondsOfTime("0930"));
  EXPECT_EQ(34215, SecondsOfTime("093015"));
  EXPECT_EQ(86399, SecondsOfTime("235959"));
  EXPECT_EQ(0, SecondsOfTime("0000"));
  for (const char* bad : {"", "930", "09:30", "2400", "0960", "093060", "0930150", "09305"}) {
    EXPECT_FALSE(SecondsOfTime(bad).has_value()) << "for '" << bad << "'";
  }
  const COleDateTime t = HostDateTime(42413, 34200);
  EXPECT_EQ(42413.0 + 34200.0 / 86400.0, t.m_dt);
  EXPECT_EQ(COleDateTime::valid, t.m_status);
}

TEST(ContestTimeTest, OptionDatesTakeBothForms) {
  EXPECT_EQ(42413, ParseOptionDate("2016-02-13"));
  EXPECT_EQ(42413, ParseOptionDate("20160213"));
  for (const char* bad : {"", "2016-02-30", "2016021", "16-02-13", "2016-02-13 0900"}) {
    EXPECT_FALSE(ParseOptionDate(bad).has_value()) << "for '" << bad << "'";
  }
}

TEST(ContestTimeTest, AMinuteCountIsTheHostsDateTime) {
  const int minute = 42414 * kMinutesPerDay + 23 * 60 + 59;
  EXPECT_EQ("2016-02-14 23:59:00", FormatDateTime(HostDateTimeOfMinute(minute), "%Y-%m-%d %H:%M:%S"));
  EXPECT_EQ(HostDateTime(42414, (23 * 60 + 59) * 60).m_dt, HostDateTimeOfMinute(minute).m_dt);
}

TEST(ContestTimeTest, TheSystemClocksSecondsRoundDownToMinutes) {
  EXPECT_EQ(42413 * kMinutesPerDay, MinuteOfUnixTime(1455321600));  // 2016-02-13 00:00:00
  EXPECT_EQ(42413 * kMinutesPerDay, MinuteOfUnixTime(1455321659));
  EXPECT_EQ(25569 * kMinutesPerDay - 1, MinuteOfUnixTime(-1)) << "before 1970 too";
}

}  // namespace
