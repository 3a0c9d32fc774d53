#include "tools/replay/replay_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

AdifWarning Warning(int record, const char* kind, const char* message = "m") {
  return AdifWarning{record, record + 10, message, kind};
}

ReplayedContact Contact(const char* band, const char* mode, const char* nrSent,
                        const char* nrRcvd) {
  ReplayedContact c;
  c.call = "K1AB";
  c.band = band;
  c.mode = mode;
  c.nrSent = nrSent;
  c.nrRcvd = nrRcvd;
  c.time = COleDateTime{42413.5, COleDateTime::valid};
  return c;
}

TEST(ReplaySummaryTest, WarningsOfOneKindAreOneLineWithTheirPlaces) {
  std::vector<AdifWarning> warnings = {Warning(0, "tag", "the tag <x> has no length"),
                                       Warning(0, "tag")};
  for (int r = 1; r <= 15; ++r) {
    warnings.push_back(Warning(r, "no CALL", "no CALL; the record is skipped"));
  }
  warnings.push_back(Warning(16, "once", "only here"));
  for (int r : {17, 17, 19, 21, 22, 23, 25, 27, 29}) {
    warnings.push_back(Warning(r, "FREQ in hertz", "FREQ 14081011 is a frequency in hertz"));
  }
  warnings.push_back(Warning(30, "tag"));
  EXPECT_EQ((std::vector<std::string>{
                "header (line 10): the tag <x> has no length (and 2 more: header, record 30)",
                "record 1 (line 11): no CALL; the record is skipped (and 14 more: records 2-15)",
                "record 16 (line 26): only here",
                "record 17 (line 27): FREQ 14081011 is a frequency in hertz (and 8 more: "
                "records 17, 19, 21-23, 25, 27, ...)"}),
            WarningLines(warnings));
  EXPECT_TRUE(WarningLines({}).empty());
}

TEST(ReplaySummaryTest, ARefusalIsPutDownToTheFirstRuleItBreaks) {
  EXPECT_EQ("band", RefusalReason(Contact("30m", "CW", "", "")));
  EXPECT_EQ("band", RefusalReason(Contact("17m", "RTTY", "1", "2")));
  EXPECT_EQ("mode", RefusalReason(Contact("20m", "SSB", "", "2")));
  EXPECT_EQ("serial", RefusalReason(Contact("20m", "RTTY", "1", "")));
  EXPECT_EQ("serial", RefusalReason(Contact("20m", "RTTY", "", "2")));
  EXPECT_EQ("other", RefusalReason(Contact("20m", "RTTY", "1", "2")));
  EXPECT_EQ("other", RefusalReason(Contact("30M", "cw", "1", "2")))
      << "band and mode names count as the host spells them";
}

TEST(ReplaySummaryTest, TheTableCountsEveryRecordOnce) {
  std::vector<ReplayedContact> played = {
      Contact("20m", "RTTY", "1", "2"), Contact("30m", "RTTY", "1", "2"),
      Contact("20m", "CW", "1", "2"),   Contact("40m", "HELL", "1", ""),
      Contact("20m", "RTTY", "1", "2"), Contact("20m", "MT63", "1", "2"),
  };
  played[4].time = COleDateTime{0.0, COleDateTime::invalid};
  played[5].time = COleDateTime{0.0, COleDateTime::invalid};
  const std::vector<bool> refused = {false, true, true, true, false, true};
  const std::vector<AdifWarning> warnings = {Warning(1, "no CALL"), Warning(2, "no QSO_DATE"),
                                             Warning(3, "no QSO_DATE"), Warning(4, "no CALL"),
                                             Warning(5, "no CALL")};
  const ReplaySummary s = SummarizeReplay(9, played, refused, warnings);
  EXPECT_EQ((std::vector<std::string>{
                "  records read          9",
                "  played                6",
                "    stored              2",
                "    refused             4  band 1, mode 1, serial 1, other 1",
                "    undated             2  no usable QSO_DATE, passed as an invalid time; 1 "
                "stored",
                "  skipped               3  no CALL",
                "  warnings              5",
                "                        3  no CALL",
                "                        2  no QSO_DATE",
            }),
            FormatReplaySummary(s));
}

}  // namespace
