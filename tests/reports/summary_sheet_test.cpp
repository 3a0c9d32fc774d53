#include "reports/summary_sheet.h"

#include <gtest/gtest.h>

#include <string>

#include "reports/contest_report.h"
#include "test_support.h"

namespace {

const std::string kTable =
    "QSO\t 2\t 0\t 1\t 0\t 3\t 0\t 0\n"
    "PFX\t 2\t 0\t 1\t 0\t 2\t 0\t 0\n"
    "Score\t 4\t 0\t 1\t 0\t 6\t 0\t 0\n";

const std::string kRule = "___________________________________________________________";

// Everything from the mode header line to the end, for a sheet signed by `name`
// on 5 February 2016.
std::string Tail(const std::string& name) {
  return "\tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV   \n" + kRule + "\n" + kTable + kRule +
         "\n\n"
         "I have observed all competition rules as well as all regulations\n"
         "established for amateur radio in my country. My report is correct\n"
         "and true to the best of my knowledge. I agree to be bound by the\n"
         "decisions of the Awards Committee.\n"
         "\n\n"
         "  " +
         name +
         "\n"
         "  05-Feb-2016\n";
}

CContestReport Entrant() {
  CContestReport r;
  r.m_callsign = "Q1AB";
  r.m_operators = "Q1AB";
  r.m_start = HostTime(2016, 2, 13, 12, 0);
  r.m_end = HostTime(2016, 2, 14, 23, 59);
  return r;
}

const COleDateTime kToday = HostTime(2016, 2, 5, 17, 30);

TEST(SummarySheetTest, EveryOptionalFieldEmptyGoesStraightToTheTable) {
  const CContestReport r = Entrant();
  EXPECT_EQ(
      "\t\tKOVA Brawlcup Digital Prefix Contest 2016\n"
      "\t\t\tSUMMARY SHEET\n"
      "\n"
      "\tContest Date(s) : 13-Feb-2016 - 14-Feb-2016\n"
      "\tCallsign Used : Q1AB\n"
      "\tOperators(s)  : Q1AB\n"
      "\n"
      "         Name(s) : \n"
      "\n" +
          Tail(""),
      SummarySheetText(r, kTable, kToday));
}

TEST(SummarySheetTest, EveryOptionalFieldFilledOnAOneDayContest) {
  CContestReport r = Entrant();
  r.m_end = HostTime(2016, 2, 13, 23, 59);
  r.m_callsign = "Q9ZZ";
  r.m_operators = "Q1AB Q1CD";
  r.m_name = "Ann Example";
  r.m_catPower = "HIGH";
  r.m_address = "Main St 1\r\nADDRESS: Flat 2";
  r.m_addressCity = "Town";
  r.m_addressState = "ST";
  r.m_addressPostalCode = "12345";
  r.m_addressCountry = "Land";
  r.m_email = "ann@example.org";
  r.m_club = "The Club";
  r.m_claimed = "4321";
  r.m_soapbox = "never printed";
  r.m_location = "ON";
  r.m_catMode = "MIXED";
  EXPECT_EQ(
      "\t\tKOVA Brawlcup Digital Prefix Contest 2016\n"
      "\t\t\tSUMMARY SHEET\n"
      "\n"
      "\tContest Date(s) : 13-Feb-2016\n"
      "\tCallsign Used : Q9ZZ\n"
      "\tOperators(s)  : Q1AB Q1CD\n"
      "\n"
      "         Name(s) : Ann Example\n"
      "         CATEGORY-POWER : HIGH\n"
      "         Address : Main St 1\r\nADDRESS: Flat 2\n"
      "                 : Town\n"
      "                 : 12345\n"
      "                 : Land\n"
      "           Email : ann@example.org\n"
      "       Team/Club : The Club\n"
      "\n"
      "\n" +
          Tail("Ann Example"),
      SummarySheetText(r, kTable, kToday));
}

TEST(SummarySheetTest, SomeOptionalFields) {
  CContestReport r = Entrant();
  r.m_name = "Ann";
  r.m_catPower = "QRP";
  r.m_addressPostalCode = "12345";
  r.m_email = "a@b.c";
  const std::string text = SummarySheetText(r, kTable, kToday);
  EXPECT_NE(std::string::npos, text.find("         Name(s) : Ann\n"
                                         "         CATEGORY-POWER : QRP\n"
                                         "                 : 12345\n"
                                         "           Email : a@b.c\n"
                                         "\n"
                                         "\tBPSK"))
      << text;
}

TEST(SummarySheetTest, DatesAcrossAMonthAndAYearPrintBoth) {
  CContestReport r = Entrant();
  r.m_start = HostTime(2015, 12, 31, 22, 0);
  r.m_end = HostTime(2016, 1, 1, 2, 0);
  const std::string text = SummarySheetText(r, kTable, HostTime(2016, 11, 9));
  EXPECT_EQ(0u, text.find("\t\tKOVA Brawlcup Digital Prefix Contest 2015\n")) << text;
  EXPECT_NE(std::string::npos, text.find("\tContest Date(s) : 31-Dec-2015 - 1-Jan-2016\n"))
      << "day without a leading zero";
  EXPECT_EQ("  09-Nov-2016\n", text.substr(text.size() - 14)) << "today with two digits";

  r.m_end = HostTime(2016, 12, 31);
  EXPECT_NE(
      std::string::npos,
      SummarySheetText(r, kTable, kToday).find("\tContest Date(s) : 31-Dec-2015 - 31-Dec-2016\n"))
      << "same day and month in another year are two dates";
}

TEST(SummarySheetTest, DatesThatAreNotValid) {
  CContestReport r = Entrant();
  r.m_start = InvalidTime();
  r.m_end = NullTime();
  const std::string text = SummarySheetText(r, kTable, kToday);
  EXPECT_EQ(0u, text.find("\t\tKOVA Brawlcup Digital Prefix Contest -1\n")) << text;
  EXPECT_NE(std::string::npos, text.find("\tContest Date(s) : -1-Invalid DateTime--1 - -1---1\n"))
      << "a null month prints as nothing between its hyphens";

  r.m_end = InvalidTime();
  EXPECT_NE(
      std::string::npos,
      SummarySheetText(r, kTable, kToday).find("\tContest Date(s) : -1-Invalid DateTime--1\n"))
      << "two invalid dates print as one";
}

TEST(SummarySheetTest, TextModeWritesEveryLineFeedAsCrLf) {
  EXPECT_EQ("a\r\nb\r\r\nc\r\n\r\n", TextModeBytes("a\nb\r\nc\n\n"));
  EXPECT_EQ("x\ry", TextModeBytes("x\ry"));
  EXPECT_EQ("", TextModeBytes(""));
}

}  // namespace
