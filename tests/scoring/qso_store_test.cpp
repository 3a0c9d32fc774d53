// Logging checks and the QSO list, driven through AddData0/RemoveData0 with the
// host's full argument lists.
#include "scoring/qso_store.h"

#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "test_support.h"

namespace {

const char kHeader[] = "KOVA-BRAWLCUP UBN file \r\n";

std::string ErrLog() { return ReadFile("err.txt"); }

std::vector<std::string> StoredCalls() {
  std::vector<std::string> calls;
  for (const CInfo& q : Module().qsos.records()) {
    calls.push_back(q.m_call + "/" + q.m_band + "/" + q.m_mode + "/" + std::to_string(q.m_isDupe));
  }
  return calls;
}

}  // namespace

using QsoStoreTest = ScratchDirTest;

TEST_F(QsoStoreTest, RefusalsWriteOneLineForTheFirstFailingCheckOnly) {
  HostReset();
  HostQso warc;
  warc.band = "30m";
  warc.mode = "CW";   // would fail the mode check too
  warc.nrRcvd = "";   // and the serial check
  warc.hertz = 10140999;
  EXPECT_EQ(0, HostAdd(warc));

  HostQso ssb;
  ssb.mode = "SSB";
  EXPECT_EQ(0, HostAdd(ssb));

  HostQso noSent;
  noSent.nrSent = "";
  EXPECT_EQ(0, HostAdd(noSent));

  HostQso noRcvd;
  noRcvd.nrRcvd = "";
  noRcvd.time = NullTime();
  EXPECT_EQ(0, HostAdd(noRcvd));

  EXPECT_EQ(std::string(kHeader) +
                "QSO:  10140  CW  2016-02-13 0905  Q1OWN  599  001  Q2AA  599     NO CONTEST BAND !!!\r\n"
                "QSO:  14080  SSB  2016-02-13 0905  Q1OWN  599  001  Q2AA  599  002   NO CONTEST MODE !!!\r\n"
                "QSO:  14080  RTTY  2016-02-13 0905  Q1OWN  599    Q2AA  599  002   NO RX NUMBER !!!\r\n"
                "QSO:  14080  RTTY    Q1OWN  599  001  Q2AA  599     NO RX NUMBER !!!\r\n",
            ErrLog());
  EXPECT_TRUE(Module().qsos.empty());
  // A refused band still joins the band list, first met first.
  EXPECT_EQ((BandList{"30m", "20m"}), Module().bandList);
}

TEST_F(QsoStoreTest, ChecksCompareExactlyAsTheHostPassedThem) {
  HostReset();
  HostQso upper;
  upper.band = "20M";
  upper.mode = "cw";
  EXPECT_EQ(1, HostAdd(upper));
  HostQso lower;
  EXPECT_EQ(1, HostAdd(lower));
  EXPECT_EQ((std::vector<std::string>{"Q2AA/20M/cw/0", "Q2AA/20m/RTTY/0"}), StoredCalls());
  EXPECT_EQ((BandList{"20M", "20m"}), Module().bandList);
  EXPECT_EQ(kHeader, ErrLog());
}

TEST_F(QsoStoreTest, EachEarlierMatchWritesOneDupeLine) {
  HostReset();
  HostQso q;
  q.time = InvalidTime();
  EXPECT_EQ(1, HostAdd(q));
  EXPECT_EQ(1, HostAdd(q));
  EXPECT_EQ(1, HostAdd(q));
  HostQso otherMode = q;
  otherMode.mode = "BPSK63";
  EXPECT_EQ(1, HostAdd(otherMode));

  const std::string dupe =
      "QSO:  14080  RTTY  Invalid DateTime  Q1OWN  599  001  Q2AA  599  002   DUPE !!!\r\n";
  EXPECT_EQ(std::string(kHeader) + dupe + dupe + dupe, ErrLog());
  EXPECT_EQ((std::vector<std::string>{"Q2AA/20m/RTTY/0", "Q2AA/20m/RTTY/1", "Q2AA/20m/RTTY/1",
                                      "Q2AA/20m/BPSK63/0"}),
            StoredCalls());
}

TEST_F(QsoStoreTest, RecordKeepsTheFieldsOfTheirPositions) {
  HostReset();
  HostQso q;
  q.hertz = 14080999;
  q.rstSent = "579";
  q.rstRcvd = "589";
  q.prefix = "Q2";
  ASSERT_EQ(1, HostAdd(q));
  const CInfo& r = Module().qsos.at(0);
  EXPECT_EQ(14080, r.m_freqKhz);
  EXPECT_EQ("579", r.m_rstSent);
  EXPECT_EQ("589", r.m_rstRcvd);
  EXPECT_EQ("001", r.m_nrSent);
  EXPECT_EQ("002", r.m_nrRcvd);
  EXPECT_EQ("Q2", r.m_prefix);
  EXPECT_EQ("extra1", r.m_extra1);
  EXPECT_EQ("extra2", r.m_extra2);
  EXPECT_EQ("", r.m_extra3);
  EXPECT_EQ(q.time.m_dt, r.m_time.m_dt);
  EXPECT_EQ(4294967, KhzFromHertz(4294967295u)) << "the division is unsigned";
}

TEST_F(QsoStoreTest, RemoveTakesTheFirstRecordOfCallAndBand) {
  HostReset();
  HostQso rtty;
  rtty.band = "40m";
  HostQso hell = rtty;
  hell.mode = "HELL";
  HostAdd(rtty);
  HostAdd(hell);
  HostAdd(rtty);  // a dupe of the first
  HostQso any = rtty;
  any.mode = "SSTV";
  EXPECT_EQ(1, HostRemove(any));
  EXPECT_EQ((std::vector<std::string>{"Q2AA/40m/HELL/0", "Q2AA/40m/RTTY/1"}), StoredCalls());

  HostQso absent;
  absent.call = "Q9XX";
  EXPECT_EQ(1, HostRemove(absent));
  EXPECT_EQ(2u, Module().qsos.size());
  EXPECT_EQ((BandList{"40m"}), Module().bandList) << "removal leaves the band list alone";
}

TEST_F(QsoStoreTest, NullTextsReadAsEmptyBeforeAnyReset) {
  COleDateTime t = HostTime(2016, 2, 13);
  EXPECT_EQ(0, AddData0(nullptr, nullptr, &t, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr,
                        nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ("QSO:  0    2016-02-13 0000" + std::string(12, ' ') + "   NO RX NUMBER !!!\r\n", ErrLog());
  EXPECT_EQ(1, AddData0("", "Q2AA", nullptr, nullptr, nullptr, nullptr, 0, 0, "RTTY", "", "",
                        "1", "2", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr,
                        "20m", nullptr));
  EXPECT_EQ(COleDateTime::null, Module().qsos.at(0).m_time.m_status);
  EXPECT_EQ(1, RemoveData0(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0,
                           0.0, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(1u, Module().qsos.size());
}

TEST_F(QsoStoreTest, UnwritableErrorLogChangesNoResult) {
  MakeDir("err.txt");
  HostReset();
  HostQso q;
  EXPECT_EQ(1, HostAdd(q));
  EXPECT_EQ(1, HostAdd(q));
  q.band = "17m";
  EXPECT_EQ(0, HostAdd(q));
  EXPECT_EQ(2u, Module().qsos.size());
}
