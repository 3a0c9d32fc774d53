// Score table, result text and the per-mode prefix lists.
#include "scoring/score.h"

#include <climits>

#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "test_support.h"

namespace {

HostQso Qso(const std::string& call, const std::string& band, const std::string& mode,
            const std::string& prefix) {
  HostQso q;
  q.call = call;
  q.band = band;
  q.mode = mode;
  q.prefix = prefix;
  return q;
}

const char kHeading[] =
    "\t  KOVA-BRAWLCUP 01.06-02.06.2016 \r\n\t\t     Contestant: Q1OWN\r\n"
    "    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n";

}  // namespace

using ScoreTest = ScratchDirTest;

TEST_F(ScoreTest, EmptyLogGivesZerosAndNoCreditLine) {
  HostReset();
  int out = 1234;
  EXPECT_EQ(std::string(kHeading) +
                "QSO:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n"
                "PFX:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n"
                "Score:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n",
            std::string(GetResult0(&out)));
  EXPECT_EQ(1234, out) << "outside a report run *out is left alone";
  EXPECT_EQ("QSO\t 0\t 0\t 0\t 0\t 0\t 0\t 0\nPFX\t 0\t 0\t 0\t 0\t 0\t 0\t 0\n"
            "Score\t 0\t 0\t 0\t 0\t 0\t 0\t 0\n",
            Module().tableText);
  for (const auto& list : Module().prefixLists) {
    EXPECT_TRUE(list.empty());
  }
  EXPECT_EQ("0", Settings().Read(settings_key::kClaimed));
}

TEST_F(ScoreTest, TalliesPerModeGroupWithPrefixesCountedOncePerGroup) {
  Settings().Write(settings_key::kMode, "RTTY");
  HostReset();
  HostAdd(Qso("Q2AA", "20m", "BPSK31", "Q2"));
  HostAdd(Qso("Q2AA", "40m", "BPSK125", "Q2"));   // same prefix, other band: PFX stays 1
  HostAdd(Qso("Q3BB", "20m", "RTTY", "Q3"));
  HostAdd(Qso("Q3BB", "20m", "HELL", "Q3"));      // counts in HELL too
  HostAdd(Qso("Q4CC", "80m", "MFSK", "Q4"));
  HostAdd(Qso("Q5DD", "80m", "OLIVIA", "Q5"));    // MFSK column
  HostAdd(Qso("Q6EE", "20m", "RTTY", ""));        // empty prefix is a prefix
  HostAdd(Qso("Q3BB", "20m", "RTTY", "Q3"));      // dupe: not counted
  HostAdd(Qso("Q7FF", "20m", "rtty", "Q7"));      // no group
  HostAdd(Qso("", "20m", "RTTY", "Q8"));          // empty call counts nowhere
  HostAdd(Qso("Q9GG", "15m", "SSTV", "Q9"));
  HostAdd(Qso("Q9GG", "10m", "THROB", "Q9"));
  HostAdd(Qso("Q9GG", "10m", "MT63", "Q9"));

  const std::string result = GetResult0(nullptr);
  EXPECT_EQ(
      "\t  KOVA-BRAWLCUP 01.06-02.06.2016 RTTY\r\n\t\t     Contestant: Q1OWN\r\n"
      "    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n"
      "QSO:\t 2\t 1\t 2\t 1\t 2\t 1\t 1\r\n"
      "PFX:\t 1\t 1\t 2\t 1\t 2\t 1\t 1\r\n"
      "Score:\t 2\t 1\t 4\t 1\t 4\t 1\t 1\r\n"
      "\r\nCreated by Q9ZZ 2016",
      result);
  EXPECT_EQ("QSO\t 2\t 1\t 2\t 1\t 2\t 1\t 1\nPFX\t 1\t 1\t 2\t 1\t 2\t 1\t 1\n"
            "Score\t 2\t 1\t 4\t 1\t 4\t 1\t 1\n",
            Module().tableText);
  EXPECT_EQ("14", Settings().Read(settings_key::kClaimed)) << "sum of the seven scores";
  EXPECT_EQ((std::vector<std::string>{"Q4", "Q5"}), Module().prefixLists[2]);
  EXPECT_EQ((std::vector<std::string>{"Q3", ""}), Module().prefixLists[4]);
  EXPECT_EQ(result, std::string(GetResult0(nullptr))) << "a second call changes nothing";
}

TEST_F(ScoreTest, OnlyDupesOrEmptyCallsStillGetTheCreditLine) {
  HostReset();
  HostAdd(Qso("", "20m", "RTTY", "Q2"));
  const std::string result = GetResult0(nullptr);
  EXPECT_NE(std::string::npos, result.find("Score:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n\r\nCreated by Q9ZZ 2016"));
}

TEST_F(ScoreTest, BandListSortsByZeroPaddedNamesDescending) {
  BandList bands = {"6m", "20m", "2m", "160m", "10m", "70cm", "80m", "15m", "40m"};
  SortBandList(bands);
  EXPECT_EQ((BandList{"70cm", "160m", "80m", "40m", "20m", "15m", "10m", "6m", "2m"}), bands);
  BandList caseMatters = {"20m", "20M"};
  SortBandList(caseMatters);
  EXPECT_EQ((BandList{"20m", "20M"}), caseMatters);
  BandList longNames = {"b", "a-very-long-band-name-1"};
  SortBandList(longNames);
  EXPECT_EQ((BandList{"a-very-long-band-name-1", "b"}), longNames)
      << "a name of 20 characters or more gets no zeros, and '0' sorts below 'a'";
}

TEST_F(ScoreTest, PrefixListsFollowBandOrderNotTime) {
  HostReset();
  HostAdd(Qso("Q2AA", "20m", "RTTY", "Q2"));
  HostAdd(Qso("Q3BB", "20m", "RTTY", "Q3"));
  HostAdd(Qso("Q3BB", "80m", "RTTY", "Q3"));
  HostAdd(Qso("Q4CC", "80m", "RTTY", "Q4"));
  GetResult0(nullptr);
  EXPECT_EQ((std::vector<std::string>{"Q3", "Q4", "Q2"}), Module().prefixLists[4]);
  EXPECT_EQ((BandList{"80m", "20m"}), Module().bandList);
}

TEST(ScoreMath, ProductsAndSumsWrapInsteadOfOverflowing) {
  EXPECT_EQ(6, MultiplyScore(2, 3));
  EXPECT_EQ(static_cast<int32_t>(0x80000000u), MultiplyScore(65536, 32768));
  ScoreTable t;
  t.scores = {INT_MAX, 1, 0, 0, 0, 0, 0};
  EXPECT_EQ(INT_MIN, ClaimedScore(t));
}
