// Builds the summary sheet's text line by line in the order the contest's
// sheet prescribes; optional lines appear only for fields that hold text.
#include "reports/summary_sheet.h"

#include "contest/mode_groups.h"
#include "contest/report_formats.h"
#include "reports/contest_report.h"

namespace {

constexpr char kRule[] = "___________________________________________________________";
static_assert(sizeof kRule - 1 == 59, "the sheet's rules are 59 underscores");

constexpr char kDeclaration[] =
    "I have observed all competition rules as well as all regulations\n"
    "established for amateur radio in my country. My report is correct\n"
    "and true to the best of my knowledge. I agree to be bound by the\n"
    "decisions of the Awards Committee.\n";

// Day, month and year as the sheet prints a contest date: a date that is not
// valid gives -1 for day and year and the date type's text for the month.
std::string SheetDate(const COleDateTime& date) {
  return std::to_string(DayOf(date)) + "-" + FormatDateTime(date, "%b") + "-" +
         std::to_string(YearOf(date));
}

bool SameSheetDay(const COleDateTime& a, const COleDateTime& b) {
  return YearOf(a) == YearOf(b) && DayOf(a) == DayOf(b) &&
         FormatDateTime(a, "%b") == FormatDateTime(b, "%b");
}

// A labelled line, left out when there is no value; `indent` lines the labels
// up on their colons.
void AddOptional(std::string& text, const char* indent, std::string_view label,
                 const std::string& value, const char* end = "\n") {
  if (!value.empty()) {
    text += indent;
    text += label;
    text += ' ';
    text += value;
    text += end;
  }
}

}  // namespace

std::string SummarySheetText(const CContestReport& report, const std::string& tableText,
                             const COleDateTime& today) {
  std::string text;
  text +=
      "\t\tKOVA Brawlcup Digital Prefix Contest " + std::to_string(YearOf(report.m_start)) + "\n";
  text += "\t\t\tSUMMARY SHEET\n";
  text += "\n";
  text += "\t" + std::string(kSheetDatesLabel) + " " + SheetDate(report.m_start);
  if (!SameSheetDay(report.m_start, report.m_end)) {
    text += " - " + SheetDate(report.m_end);
  }
  text += "\n";
  text += "\t" + std::string(kSheetCallLabel) + " " + report.m_callsign + "\n";
  text += "\tOperators(s)  : " + report.m_operators + "\n";
  text += "\n";
  text += "         Name(s) : " + report.m_name + "\n";
  AddOptional(text, "         ", kSheetPowerLabel, report.m_catPower);
  AddOptional(text, "         ", "Address :", report.m_address);
  AddOptional(text, "                 ", ":", report.m_addressCity);
  AddOptional(text, "                 ", ":", report.m_addressPostalCode);
  AddOptional(text, "                 ", ":", report.m_addressCountry);
  AddOptional(text, "           ", "Email :", report.m_email);
  AddOptional(text, "       ", kSheetClubLabel, report.m_club, "\n\n");
  text += "\n";
  text += TabbedHeadings() + "   \n";
  text += kRule;
  text += "\n";
  text += tableText;
  text += kRule;
  text += "\n\n";
  text += kDeclaration;
  text += "\n\n";
  text += "  " + report.m_name + "\n";
  text += "  " + FormatDateTime(today, "%d-%b-%Y") + "\n";
  return text;
}

std::string TextModeBytes(const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') {
      bytes += '\r';
    }
    bytes += c;
  }
  return bytes;
}
