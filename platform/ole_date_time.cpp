#include "platform/ole_date_time.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// Day counts the host's date type accepts: 1 Jan 100 and 31 Dec 9999.
constexpr double kMinDay = -657434.0;
constexpr double kMaxDay = 2958465.0;

constexpr const char* kMonthShort[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kMonthLong[] = {"January", "February", "March",     "April",
                                      "May",     "June",     "July",      "August",
                                      "September", "October", "November", "December"};
constexpr const char* kDayShort[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kDayLong[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                    "Thursday", "Friday", "Saturday"};

int DayOfYear(int y, int m, int d) {
  static constexpr int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kBefore[m - 1] + d + ((m > 2 && IsLeapYear(y)) ? 1 : 0);
}

// The host's day 0, 30 December 1899, is 25569 days before 1 January 1970.
constexpr long long kHostDayOf1970 = 25569;

void Append(std::string& out, const char* fmt, int value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, fmt, value);
  out += buf;
}

bool Convertible(const COleDateTime& value, CalendarFields& fields) {
  return value.m_status == COleDateTime::valid && ToCalendarFields(value.m_dt, fields);
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) {
    return 0;
  }
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// H. Hinnant's days_from_civil, counted from the host's day 0.
long long HostDayOfDate(int year, int month, int day) {
  const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + kHostDayOf1970;
}

// H. Hinnant's civil_from_days, counted from the host's day 0.
void DateOfHostDay(long long hostDay, int& year, int& month, int& day) {
  const long long z = hostDay - kHostDayOf1970 + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

COleDateTime LocalToday() {
  COleDateTime today;
  const std::time_t now = std::time(nullptr);
  // Only the host's thread asks, once per report run, and nothing else in the
  // plug-in asks for local time, so the runtime's shared buffer is not
  // contended.
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) {
    today.m_status = COleDateTime::invalid;
    return today;
  }
  today.m_dt =
      static_cast<double>(HostDayOfDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday));
  return today;
}

COleDateTime ReadHostDateTime(const COleDateTime* host) {
  if (host == nullptr) {
    COleDateTime none;
    none.m_status = COleDateTime::null;
    return none;
  }
  return *host;
}

bool ToCalendarFields(double dt, CalendarFields& out) {
  if (std::isnan(dt) || dt <= kMinDay - 1.0 || dt >= kMaxDay + 1.0) {
    return false;
  }
  const double dayPart = std::trunc(dt);
  // A tiny bias keeps values such as 0.25 (stored a hair below) from losing a
  // second to truncation; the host's date type applies the same bias.
  double timePart = std::fabs(dt - dayPart) + 0.00000000001;
  if (timePart >= 1.0) {
    timePart -= 0.00000000001;
  }
  long long day = static_cast<long long>(dayPart);

  timePart *= 24.0;
  int hour = static_cast<int>(timePart);
  timePart = (timePart - hour) * 60.0;
  int minute = static_cast<int>(timePart);
  timePart = (timePart - minute) * 60.0;
  int second = static_cast<int>(timePart);
  timePart -= second;
  if (timePart > 0.5) {
    if (++second == 60) {
      second = 0;
      if (++minute == 60) {
        minute = 0;
        if (++hour == 24) {
          hour = 0;
          ++day;
        }
      }
    }
  }

  DateOfHostDay(day, out.year, out.month, out.day);
  out.hour = hour;
  out.minute = minute;
  out.second = second;
  const long long dow = (day + 6) % 7;  // 30 Dec 1899 was a Saturday
  out.dayOfWeek = static_cast<int>(dow < 0 ? dow + 7 : dow);
  out.dayOfYear = DayOfYear(out.year, out.month, out.day);
  return true;
}

std::string FormatDateTime(const COleDateTime& value, const char* pattern) {
  if (value.m_status == COleDateTime::null) {
    return std::string();
  }
  CalendarFields f;
  if (!Convertible(value, f)) {
    return kInvalidDateTimeText;
  }
  std::string out;
  for (const char* p = pattern ? pattern : ""; *p != '\0'; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    switch (*++p) {
      case 'Y': Append(out, "%d", f.year); break;
      case 'y': Append(out, "%02d", f.year % 100); break;
      case 'm': Append(out, "%02d", f.month); break;
      case 'd': Append(out, "%02d", f.day); break;
      case 'H': Append(out, "%02d", f.hour); break;
      case 'M': Append(out, "%02d", f.minute); break;
      case 'S': Append(out, "%02d", f.second); break;
      case 'j': Append(out, "%03d", f.dayOfYear); break;
      case 'b': out += kMonthShort[f.month - 1]; break;
      case 'B': out += kMonthLong[f.month - 1]; break;
      case 'a': out += kDayShort[f.dayOfWeek]; break;
      case 'A': out += kDayLong[f.dayOfWeek]; break;
      case 'p': out += f.hour < 12 ? "AM" : "PM"; break;
      case '%': out += '%'; break;
      default:
        out += '%';
        out += *p;
        break;
    }
  }
  return out;
}

int DayOf(const COleDateTime& value) {
  CalendarFields f;
  return Convertible(value, f) ? f.day : -1;
}

int YearOf(const COleDateTime& value) {
  CalendarFields f;
  return Convertible(value, f) ? f.year : -1;
}
