// Our calendar split against the system's own (VarUdateFromDate, what the
// host's date type uses) over the whole range the host accepts: whole days,
// times of day near every rounding edge, negative day counts and the ends.
#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "platform/ole_date_time.h"
#include "test_support.h"

namespace {

std::string Describe(double dt) {
  std::ostringstream s;
  s.precision(17);
  s << dt;
  return s.str();
}

void ExpectSameAsSystem(double dt) {
  UDATE system = {};
  const bool systemOk = SUCCEEDED(VarUdateFromDate(dt, 0, &system));
  CalendarFields ours;
  const bool oursOk = ToCalendarFields(dt, ours);
  ASSERT_EQ(systemOk, oursOk) << "convertible, for " << Describe(dt);
  if (!systemOk) {
    return;
  }
  // Wine's VarUdateFromDate rolls a time that rounds up to midnight into the
  // next day by hand and gets two details wrong: the weekday and the day of
  // the year stay those of the day before, and 30 November becomes 1 January
  // of the next year. Where the time rounds up, the system's split of the
  // next whole day, which needs no roll, is the reference; at the top end of
  // the range no next day exists and only the date and time are compared.
  const double dayPart = std::trunc(dt);
  const bool roundsUp = std::fabs(dt - dayPart) > 0.5 && ours.hour == 0 && ours.minute == 0 &&
                        ours.second == 0;
  int fieldsCompared = 8;
  if (roundsUp) {
    UDATE nextDay = {};
    if (SUCCEEDED(VarUdateFromDate(dayPart + 1.0, 0, &nextDay))) {
      system = nextDay;
    } else {
      fieldsCompared = 6;
    }
  }
  const int got[] = {ours.year,   ours.month,  ours.day,       ours.hour,
                     ours.minute, ours.second, ours.dayOfWeek, ours.dayOfYear};
  const int want[] = {system.st.wYear,   system.st.wMonth,     system.st.wDay,
                      system.st.wHour,   system.st.wMinute,    system.st.wSecond,
                      system.st.wDayOfWeek, system.wDayOfYear};
  for (int i = 0; i < fieldsCompared; ++i) {
    ASSERT_EQ(want[i], got[i]) << "field " << i << " (year, month, day, hour, minute, second, "
                               << "weekday, day of year) for " << Describe(dt)
                               << (roundsUp ? ", which rounds up to midnight" : "");
  }
}

TEST(OleDateTimeWin32Test, WholeDaysAcrossTheRange) {
  for (double day = -657434.0; day <= 2958465.0; day += 97.0) {
    ExpectSameAsSystem(day);
  }
  for (double day = -800.0; day <= 800.0; day += 1.0) {
    ExpectSameAsSystem(day);
  }
}

TEST(OleDateTimeWin32Test, TimesOfDayIncludingNegativeDayCounts) {
  // 30 Nov 103 (-656006), 30 Nov 2015 (42338) and 31 Dec 2015 (42369): a
  // carry crosses a month or a year.
  const std::vector<double> days = {-657434, -656006, -36522, -1,    0,     1,
                                    2,       42338,   42369,  42413, 42414, 2958465};
  const std::vector<double> fractions = {0.0,   0.25,        0.5,         0.75,    0.999988,
                                         0.999994, 0.9999942, 0.99999999, 1.0 / 3, 2.0 / 3,
                                         0.1234567, 0.0000057, 0.0000058};
  for (double d : days) {
    for (double f : fractions) {
      ExpectSameAsSystem(d + f);
      ExpectSameAsSystem(d - f);
    }
  }
  // Every second of one day, forward and backward from the epoch.
  for (int s = 0; s < 86400; s += 7) {
    ExpectSameAsSystem(42413.0 + s / 86400.0);
    ExpectSameAsSystem(-3.0 - s / 86400.0);
  }
}

TEST(OleDateTimeWin32Test, RangeEndsAndBeyond) {
  for (double dt : {-657434.0, -657434.5, -657434.9999, -657435.0, -657435.5, 2958465.0,
                    2958465.5, 2958465.9999, 2958466.0, 2958466.5, 1e10, -1e10}) {
    ExpectSameAsSystem(dt);
  }
  CalendarFields unused;
  EXPECT_FALSE(ToCalendarFields(std::nan(""), unused));
}

}  // namespace
