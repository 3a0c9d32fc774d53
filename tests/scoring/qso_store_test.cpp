// Logging checks and the QSO list: AddQso, RemoveFirst and the diagnostics
// they leave in err.txt, on a store of the test's own.
#include "scoring/qso_store.h"

#include <cstdio>

#include "scoring/error_log.h"
#include "test_support.h"

namespace {

const char kHeader[] = "KOVA-BRAWLCUP UBN file \r\n";

CInfo Qso(const std::string& band = "20m", const std::string& mode = "RTTY") {
  CInfo q;
  q.m_call = "Q2AA";
  q.m_band = band;
  q.m_mode = mode;
  q.m_rstSent = "599";
  q.m_rstRcvd = "599";
  q.m_nrSent = "001";
  q.m_nrRcvd = "002";
  q.m_prefix = "Q2";
  q.m_freqKhz = 14080;
  q.m_time = HostTime(2016, 2, 13, 9, 5);
  return q;
}

class QsoStoreTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    log.Start();
  }

  int Add(CInfo q) { return AddQso(store, bands, log, "Q1OWN", std::move(q)); }

  std::vector<std::string> StoredCalls() const {
    std::vector<std::string> calls;
    for (const CInfo& q : store.records()) {
      calls.push_back(q.m_call + "/" + q.m_band + "/" + q.m_mode + "/" +
                      std::to_string(q.m_isDupe));
    }
    return calls;
  }

  QsoStore store;
  BandList bands;
  ErrorLog log;
};

}  // namespace

TEST_F(QsoStoreTest, RefusalsWriteOneLineForTheFirstFailingCheckOnly) {
  CInfo warc = Qso("30m", "CW");  // would fail the mode check too
  warc.m_nrRcvd = "";             // and the serial check
  warc.m_freqKhz = 10140;
  EXPECT_EQ(0, Add(warc));
  EXPECT_EQ(0, Add(Qso("20m", "SSB")));
  CInfo noSent = Qso();
  noSent.m_nrSent = "";
  EXPECT_EQ(0, Add(noSent));
  CInfo noRcvd = Qso();
  noRcvd.m_nrRcvd = "";
  noRcvd.m_time = NullTime();
  EXPECT_EQ(0, Add(noRcvd));

  EXPECT_EQ(std::string(kHeader) +
                "QSO:  10140  CW  2016-02-13 0905  Q1OWN  599  001  Q2AA  599     NO CONTEST BAND !!!\r\n"
                "QSO:  14080  SSB  2016-02-13 0905  Q1OWN  599  001  Q2AA  599  002   NO CONTEST MODE !!!\r\n"
                "QSO:  14080  RTTY  2016-02-13 0905  Q1OWN  599    Q2AA  599  002   NO RX NUMBER !!!\r\n"
                "QSO:  14080  RTTY    Q1OWN  599  001  Q2AA  599     NO RX NUMBER !!!\r\n",
            ReadFile("err.txt"));
  EXPECT_TRUE(store.empty());
  // A refused band still joins the band list, first met first.
  EXPECT_EQ((BandList{"30m", "20m"}), bands);
}

TEST_F(QsoStoreTest, ChecksCompareExactlyAsTheHostPassedThem) {
  EXPECT_EQ(1, Add(Qso("20M", "cw")));
  EXPECT_EQ(1, Add(Qso()));
  EXPECT_EQ((std::vector<std::string>{"Q2AA/20M/cw/0", "Q2AA/20m/RTTY/0"}), StoredCalls());
  EXPECT_EQ((BandList{"20M", "20m"}), bands);
  EXPECT_EQ(kHeader, ReadFile("err.txt"));
}

TEST_F(QsoStoreTest, EachEarlierMatchWritesOneDupeLine) {
  CInfo q = Qso();
  q.m_time = InvalidTime();
  EXPECT_EQ(1, Add(q));
  EXPECT_EQ(1, Add(q));
  EXPECT_EQ(1, Add(q));
  CInfo otherMode = q;
  otherMode.m_mode = "BPSK63";
  EXPECT_EQ(1, Add(otherMode));

  const std::string dupe =
      "QSO:  14080  RTTY  Invalid DateTime  Q1OWN  599  001  Q2AA  599  002   DUPE !!!\r\n";
  EXPECT_EQ(std::string(kHeader) + dupe + dupe + dupe, ReadFile("err.txt"));
  EXPECT_EQ((std::vector<std::string>{"Q2AA/20m/RTTY/0", "Q2AA/20m/RTTY/1", "Q2AA/20m/RTTY/1",
                                      "Q2AA/20m/BPSK63/0"}),
            StoredCalls());
  EXPECT_EQ(3u, store.CountMatches("Q2AA", "20m", "RTTY"));
  EXPECT_EQ(0u, store.CountMatches("Q2AA", "20m", "rtty"));
}

TEST_F(QsoStoreTest, RemoveTakesTheFirstRecordOfCallAndBand) {
  Add(Qso("40m", "RTTY"));
  Add(Qso("40m", "HELL"));
  Add(Qso("40m", "RTTY"));  // a dupe of the first
  EXPECT_TRUE(store.RemoveFirst("Q2AA", "40m"));
  EXPECT_EQ((std::vector<std::string>{"Q2AA/40m/HELL/0", "Q2AA/40m/RTTY/1"}), StoredCalls());
  EXPECT_TRUE(store.HasPrefix("Q2"));

  EXPECT_FALSE(store.RemoveFirst("Q9XX", "40m"));
  EXPECT_EQ(2u, store.size());
  EXPECT_EQ((BandList{"40m"}), bands) << "removal leaves the band list alone";
  store.RemoveFirst("Q2AA", "40m");
  store.RemoveFirst("Q2AA", "40m");
  EXPECT_TRUE(store.empty());
  EXPECT_FALSE(store.HasPrefix("Q2")) << "a prefix goes with its last record";
}

TEST_F(QsoStoreTest, UnwritableErrorLogChangesNoResult) {
  std::remove("err.txt");
  MakeDir("err.txt");
  EXPECT_EQ(1, Add(Qso()));
  EXPECT_EQ(1, Add(Qso()));
  EXPECT_EQ(0, Add(Qso("17m")));
  EXPECT_EQ(2u, store.size());
}

TEST(QsoStoreUnit, FrequencyInKilohertzDropsTheFraction) {
  EXPECT_EQ(14080, KhzFromHertz(14080999u));
  EXPECT_EQ(4294967, KhzFromHertz(4294967295u)) << "the division is unsigned";
}
