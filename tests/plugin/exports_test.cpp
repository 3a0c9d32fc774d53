// The exports as the host sees them: set names, reset, the panel toggle and a
// whole pass.
#include "plugin/exports.h"

#include "plugin/module_state.h"
#include "test_support.h"

using ExportsTest = ScratchDirTest;

TEST(Exports, StatisticsSetNames) {
  EXPECT_EQ(1, GetNumberOfSets());
  EXPECT_STREQ("KOVA-BRAWLCUP", GetSetName(0));
  EXPECT_STREQ("", GetSetName(1));
  EXPECT_STREQ("", GetSetName(-1));
}

TEST_F(ExportsTest, ResetHeadsTheResultAndStartsTheErrorLogAfresh) {
  WriteFile("err.txt", "left from the last pass\r\n");
  Settings().Write(settings_key::kMode, "HELL");
  EXPECT_EQ(1, HostReset(0, "Q1AB", HostTime(2016, 6, 1, 12), HostTime(2016, 6, 2, 23, 59)));
  EXPECT_EQ("KOVA-BRAWLCUP UBN file \r\n", ReadFile("err.txt"));
  const std::string result = GetResult0(nullptr);
  EXPECT_EQ(0u, result.find("\t  KOVA-BRAWLCUP 01.06-02.06.2016 HELL\r\n\t\t     Contestant: Q1AB\r\n"))
      << result;

  EXPECT_EQ(1, HostReset(0, "", NullTime(), InvalidTime()));
  EXPECT_EQ(0u, std::string(GetResult0(nullptr))
                    .find("\t  KOVA-BRAWLCUP -Invalid DateTime HELL\r\n\t\t     Contestant: \r\n"));
}

TEST_F(ExportsTest, ResetEmptiesTheLogAndRelabelsTheGrid) {
  HostReset();
  HostAdd(HostQso{});
  Module().grid[2][3] = "12:00";
  Settings().Write(settings_key::kMode, "");
  HostReset();
  EXPECT_TRUE(Module().qsos.empty());
  EXPECT_TRUE(Module().bandList.empty());
  const char* labels[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
  for (int r = 0; r < kGridRows; ++r) {
    EXPECT_EQ((std::vector<std::string>{labels[r], "-", "-", "-", "-", "-", "-", "-"}),
              Module().grid[r]);
  }
  EXPECT_EQ(0u, std::string(GetResult0(nullptr)).find("\t  KOVA-BRAWLCUP 01.06-02.06.2016 \r\n"))
      << "an absent mode word leaves the blank before the line end";
}

TEST_F(ExportsTest, PanelToggleFollowsTheStartSetting) {
  FakePanel panel;
  Module().panel = &panel;
  Settings s;
  HostReset();
  EXPECT_EQ(1, panel.starts);
  EXPECT_EQ("1", s.Read(settings_key::kStart));
  HostReset();
  EXPECT_EQ(1, panel.starts);
  EXPECT_EQ("0", s.Read(settings_key::kStart));
  HostReset();  // 0 with the panel still open: nothing changes
  EXPECT_EQ(1, panel.starts);
  EXPECT_EQ("0", s.Read(settings_key::kStart));
  panel.running = false;  // the operator closed it
  HostReset();
  EXPECT_EQ(2, panel.starts);
  EXPECT_EQ("1", s.Read(settings_key::kStart));
  s.Write(settings_key::kStart, "7junk");
  HostReset();
  EXPECT_EQ("0", s.Read(settings_key::kStart));
}

TEST_F(ExportsTest, ReportRunNeverStartsThePanel) {
  FakePanel panel;
  Module().panel = &panel;
  HostReset(1, "Q1AB");
  EXPECT_EQ(0, panel.starts);
  EXPECT_EQ("0", Settings().Read(settings_key::kStart));
  int out = 5;
  GetResult0(&out);
  EXPECT_EQ(-1, out);
  EXPECT_NO_FATAL_FAILURE(GetResult0(nullptr)) << "a null out pointer in a report run is skipped";
}

TEST_F(ExportsTest, EveryExportWorksBeforeTheFirstResetAndOnNullArguments) {
  EXPECT_EQ(2, HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", "20m"));
  EXPECT_EQ(1, CheckCall0(nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(1, ResetStats0(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0,
                           0.0, 0.0, nullptr, nullptr, nullptr));
  EXPECT_EQ(0u, std::string(GetResult0(nullptr)).find("\t  KOVA-BRAWLCUP - \r\n"));
  SetupSet0();  // no window system here: nothing shown, nothing written
  EXPECT_EQ("", Settings().Read(settings_key::kMaster));
}

TEST_F(ExportsTest, IgnoredPositionsChangeNothing) {
  HostReset();
  COleDateTime t = HostTime(2016, 2, 13, 9, 5);
  COleDateTime other = HostTime(1990, 1, 1);
  EXPECT_EQ(1, AddData0("Q1OWN", "Q2AA", &t, &other, nullptr, &other, 99u, 7040000u, "RTTY",
                        "599", "579", "1", "2", "a", "b", "c", "d", "e", "f", "g", "h", "Q2", "x",
                        -1, -2, -3, 1e9, -1e9, "i", "y", "j", "40m", "k"));
  EXPECT_EQ(1, AddData0("Q1OWN", "Q3BB", &t, nullptr, nullptr, nullptr, 0u, 7040000u, "RTTY",
                        "599", "579", "1", "2", nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, "Q3", "x", 0, 0, 0, 0.0, 0.0, nullptr, "y",
                        nullptr, "40m", nullptr));
  const CInfo& a = Module().qsos.at(0);
  const CInfo& b = Module().qsos.at(1);
  EXPECT_EQ(a.m_freqKhz, b.m_freqKhz);
  EXPECT_EQ(a.m_band, b.m_band);
  EXPECT_EQ(a.m_extra1, b.m_extra1);
  EXPECT_EQ(a.m_extra2, b.m_extra2);
  EXPECT_EQ(a.m_time.m_dt, b.m_time.m_dt);
}

TEST_F(ExportsTest, AddDataKeepsTheFieldsOfTheirPositions) {
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
  HostQso refused = q;
  refused.band = "17m";
  EXPECT_EQ(0, HostAdd(refused));
  EXPECT_EQ(1, HostRemove(refused)) << "a removal always answers 1";
  EXPECT_EQ(1u, Module().qsos.size());
}

TEST_F(ExportsTest, NullTextsReadAsEmptyBeforeAnyReset) {
  COleDateTime t = HostTime(2016, 2, 13);
  EXPECT_EQ(0, AddData0(nullptr, nullptr, &t, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr,
                        nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ("QSO:  0    2016-02-13 0000" + std::string(12, ' ') + "   NO RX NUMBER !!!\r\n",
            ReadFile("err.txt"));
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

TEST_F(ExportsTest, ResultStoresTheClaimedScoreAndCreditsOnlyAStoredLog) {
  HostReset();
  int out = 1234;
  const std::string empty = GetResult0(&out);
  EXPECT_EQ(1234, out) << "outside a report run *out is left alone";
  EXPECT_EQ(std::string::npos, empty.find("Created by")) << "nothing stored, no credit line";
  EXPECT_EQ("0", Settings().Read(settings_key::kClaimed));

  HostQso emptyCall;
  emptyCall.call = "";
  HostAdd(emptyCall);
  EXPECT_NE(std::string::npos,
            std::string(GetResult0(nullptr))
                .find("Score:\t 0\t 0\t 0\t 0\t 0\t 0\t 0\r\n\r\nCreated by Q9ZZ 2016"))
      << "a stored QSO that counts nowhere still earns the credit line";
  HostQso q;
  q.mode = "BPSK31";
  HostAdd(q);
  HostAdd(q);  // a dupe
  const std::string result = GetResult0(nullptr);
  EXPECT_NE(std::string::npos,
            result.find("Score:\t 1\t 0\t 0\t 0\t 0\t 0\t 0\r\n\r\nCreated by Q9ZZ 2016"));
  EXPECT_EQ("1", Settings().Read(settings_key::kClaimed));
  EXPECT_EQ((std::vector<std::string>{"Q2"}), Module().prefixLists[0]);
  EXPECT_EQ("QSO\t 1\t 0\t 0\t 0\t 0\t 0\t 0\nPFX\t 1\t 0\t 0\t 0\t 0\t 0\t 0\n"
            "Score\t 1\t 0\t 0\t 0\t 0\t 0\t 0\n",
            Module().tableText);
  EXPECT_EQ(result, std::string(GetResult0(nullptr))) << "a second call changes nothing";
}

TEST_F(ExportsTest, CallCheckAnswersAndReArmsThePanel) {
  FakePanel panel;
  Module().panel = &panel;
  EXPECT_EQ(4, HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", "40m"));
  EXPECT_EQ(0, panel.nudges) << "a band disagreement touches no panel";
  HostReset();
  HostAdd(HostQso{});
  EXPECT_EQ(0, HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", "20M"));
  EXPECT_EQ(1, HostCheck("Q2AA", "RTTY", "Q2", "599", "40m", nullptr));
  EXPECT_EQ(2, HostCheck("Q3BB", "RTTY", "Q3", "599", nullptr, "40m"));
  EXPECT_EQ(3, panel.nudges) << "each answered check re-arms the panel timer";
}

TEST(Exports, ExchangeFields) {
  EXPECT_EQ(2, GetExchgCount0(nullptr, "x", "y"));
  EXPECT_EQ(1, IsValidExchg0("ABCxyz", "", "", "", 0, 0, 0));
  EXPECT_EQ(1, IsValidExchg0(nullptr, nullptr, nullptr, nullptr, 0, 0, 0));
  EXPECT_EQ(0, IsValidExchg0("599", "", "", "", 0, 0, 0));
  EXPECT_EQ(1, IsValidExchg0("599", "ignored", "599", "ignored", 5, 6, 1));
  EXPECT_EQ(0, IsValidExchg0("599", "", "579", "", 0, 0, 1));
}
