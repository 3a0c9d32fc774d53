// Score table, result text and the per-mode prefix lists, computed from a
// store of the test's own.
#include "scoring/score.h"

#include <climits>

#include "test_support.h"

namespace {

CInfo Qso(const std::string& call, const std::string& band, const std::string& mode,
          const std::string& prefix, int dupe = 0) {
  CInfo q;
  q.m_call = call;
  q.m_band = band;
  q.m_mode = mode;
  q.m_prefix = prefix;
  q.m_isDupe = dupe;
  return q;
}

const ResultHeading kHeading{"01.06", "02.06.2016", "", "Q1OWN"};

const char kHeadingText[] =
    "\t  KOVA-BRAWLCUP 01.06-02.06.2016 \r\n\t\t     Contestant: Q1OWN\r\n"
    "    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n";

// A store and its band list as the host's AddData0 calls leave them.
struct Log {
  void Add(CInfo q) {
    if (std::find(bands.begin(), bands.end(), q.m_band) == bands.end()) {
      bands.push_back(q.m_band);
    }
    store.Append(std::move(q));
  }
  QsoStore store;
  BandList bands;
};

}  // namespace

TEST(ScoreTest, EmptyLogGivesZerosAndNoCreditLine) {
  Log log;
  const ScoreTable table = ComputeScore(log.store, log.bands);
  EXPECT_EQ(std::string(kHeadingText) +
                "QSO:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n"
                "PFX:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n"
                "Score:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n",
            ResultText(kHeading, table, false));
  EXPECT_EQ("QSO\t 0\t 0\t 0\t 0\t 0\t 0\t 0\nPFX\t 0\t 0\t 0\t 0\t 0\t 0\t 0\n"
            "Score\t 0\t 0\t 0\t 0\t 0\t 0\t 0\n",
            TableText(table));
  for (const auto& list : table.prefixLists) {
    EXPECT_TRUE(list.empty());
  }
  EXPECT_EQ(0, ClaimedScore(table));
}

TEST(ScoreTest, TalliesPerModeGroupWithPrefixesCountedOncePerGroup) {
  Log log;
  log.Add(Qso("Q2AA", "20m", "BPSK31", "Q2"));
  log.Add(Qso("Q2AA", "40m", "BPSK125", "Q2"));  // same prefix, other band: PFX stays 1
  log.Add(Qso("Q3BB", "20m", "RTTY", "Q3"));
  log.Add(Qso("Q3BB", "20m", "HELL", "Q3"));  // counts in HELL too
  log.Add(Qso("Q4CC", "80m", "MFSK", "Q4"));
  log.Add(Qso("Q5DD", "80m", "OLIVIA", "Q5"));  // MFSK column
  log.Add(Qso("Q6EE", "20m", "RTTY", ""));      // empty prefix is a prefix
  log.Add(Qso("Q3BB", "20m", "RTTY", "Q3", 1));  // dupe: not counted
  log.Add(Qso("Q7FF", "20m", "rtty", "Q7"));     // no group
  log.Add(Qso("", "20m", "RTTY", "Q8"));         // empty call counts nowhere
  log.Add(Qso("Q9GG", "15m", "SSTV", "Q9"));
  log.Add(Qso("Q9GG", "10m", "THROB", "Q9"));
  log.Add(Qso("Q9GG", "10m", "MT63", "Q9"));

  ResultHeading heading = kHeading;
  heading.modeWord = "RTTY";
  const ScoreTable table = ComputeScore(log.store, log.bands);
  EXPECT_EQ(
      "\t  KOVA-BRAWLCUP 01.06-02.06.2016 RTTY\r\n\t\t     Contestant: Q1OWN\r\n"
      "    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n"
      "QSO:\t 2\t 1\t 2\t 1\t 2\t 1\t 1\r\n"
      "PFX:\t 1\t 1\t 2\t 1\t 2\t 1\t 1\r\n"
      "Score:\t 2\t 1\t 4\t 1\t 4\t 1\t 1\r\n"
      "\r\nCreated by Q9ZZ 2016",
      ResultText(heading, table, true));
  EXPECT_EQ("QSO\t 2\t 1\t 2\t 1\t 2\t 1\t 1\nPFX\t 1\t 1\t 2\t 1\t 2\t 1\t 1\n"
            "Score\t 2\t 1\t 4\t 1\t 4\t 1\t 1\n",
            TableText(table));
  EXPECT_EQ(14, ClaimedScore(table)) << "sum of the seven scores";
  EXPECT_EQ((std::vector<std::string>{"Q4", "Q5"}), table.prefixLists[2]);
  EXPECT_EQ((std::vector<std::string>{"Q3", ""}), table.prefixLists[4]);
}

TEST(ScoreTest, BandListSortsByZeroPaddedNamesDescending) {
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

TEST(ScoreTest, PrefixListsFollowBandOrderNotTime) {
  Log log;
  log.Add(Qso("Q2AA", "20m", "RTTY", "Q2"));
  log.Add(Qso("Q3BB", "20m", "RTTY", "Q3"));
  log.Add(Qso("Q3BB", "80m", "RTTY", "Q3"));
  log.Add(Qso("Q4CC", "80m", "RTTY", "Q4"));
  const ScoreTable table = ComputeScore(log.store, log.bands);
  EXPECT_EQ((std::vector<std::string>{"Q3", "Q4", "Q2"}), table.prefixLists[4]);
  EXPECT_EQ((BandList{"80m", "20m"}), log.bands) << "sorted in place";
}

TEST(ScoreMath, ProductsAndSumsWrapInsteadOfOverflowing) {
  EXPECT_EQ(6, MultiplyScore(2, 3));
  EXPECT_EQ(static_cast<int32_t>(0x80000000u), MultiplyScore(65536, 32768));
  ScoreTable t;
  t.scores = {INT_MAX, 1, 0, 0, 0, 0, 0};
  EXPECT_EQ(INT_MIN, ClaimedScore(t));
}
