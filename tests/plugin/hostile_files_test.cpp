// Whatever state the files on disk are in, a pass gives the same answers and
// keeps the same QSOs; only the files that cannot be written are lost.
#include <unistd.h>

#include <string>

#include "plugin/exports.h"
#include "module_hooks.h"
#include "plugin/module_state.h"
#include "test_support.h"

namespace {

struct PassOutcome {
  std::string results;  // every export's answer, then the result text
  std::size_t stored = 0;
};

// The same small pass every time: a stored QSO, a dupe, a refusal, a call
// check and a result.
PassOutcome RunPass(int reportFlag = 0) {
  PassOutcome o;
  o.results += std::to_string(HostReset(reportFlag, "Q1AB"));
  HostQso q;
  o.results += std::to_string(HostAdd(q));
  o.results += std::to_string(HostAdd(q));
  HostQso warc = q;
  warc.band = "12m";
  o.results += std::to_string(HostAdd(warc));
  o.results += std::to_string(HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", "20m"));
  int out = 0;
  o.results += GetResult0(&out);
  o.results += std::to_string(out);
  o.stored = Module().qsos.size();
  return o;
}

}  // namespace

class HostileFilesTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    expected_ = RunPass();
    expectedReport_ = RunPass(1);
    RebuildModuleForTests();
    // Start every case from an empty folder again.
    for (const char* f : {"err.txt", "Q1AB.sum", "RTTY.log", "Plugins/KOVA-BRAWLCUP.ini"}) {
      std::remove(f);
    }
  }

  PassOutcome expected_;
  PassOutcome expectedReport_;
};

TEST_F(HostileFilesTest, ErrorLogIsAFolder) {
  MakeDir("err.txt");
  const PassOutcome got = RunPass();
  EXPECT_EQ(expected_.results, got.results);
  EXPECT_EQ(expected_.stored, got.stored);
  EXPECT_EQ("[Settings]\r\nStart=1\r\nClaimed=1\r\n", ReadFile("Plugins/KOVA-BRAWLCUP.ini"))
      << "the settings are still written";
}

TEST_F(HostileFilesTest, ErrorLogOnAFullDisk) {
  if (!FileExists("/dev/full") || symlink("/dev/full", "err.txt") != 0) {
    GTEST_SKIP() << "no /dev/full here";
  }
  const PassOutcome got = RunPass();
  EXPECT_EQ(expected_.results, got.results);
  EXPECT_EQ(expected_.stored, got.stored);
}

TEST_F(HostileFilesTest, SettingsFolderMissing) {
  RemoveDirTree("Plugins");
  const PassOutcome got = RunPass();
  EXPECT_EQ(expected_.results, got.results);
  EXPECT_FALSE(FileExists("Plugins"));
  EXPECT_EQ(expected_.stored, got.stored);
  EXPECT_EQ("KOVA-BRAWLCUP UBN file \r\n", ReadFile("err.txt").substr(0, 25));
}

TEST_F(HostileFilesTest, SettingsFileIsAFolder) {
  MakeDir("Plugins/KOVA-BRAWLCUP.ini");
  const PassOutcome got = RunPass();
  EXPECT_EQ(expected_.results, got.results);
  EXPECT_EQ(expected_.stored, got.stored);
}

TEST_F(HostileFilesTest, SettingsFileIsHugeOrBinary) {
  std::string junk(4 << 20, 'x');
  for (std::size_t i = 0; i < junk.size(); i += 97) {
    junk[i] = static_cast<char>(i % 256);  // NULs, CRs, brackets and all
  }
  junk += "\n[Settings]\nmode=RTTY\n";
  WriteFile("Plugins/KOVA-BRAWLCUP.ini", junk);
  const PassOutcome got = RunPass();
  EXPECT_EQ(expected_.stored, got.stored);
  // The mode word read from the file heads the result; the rest is the same.
  EXPECT_NE(std::string::npos, got.results.find("02.06.2016 RTTY\r\n")) << got.results;
  EXPECT_EQ("1", Settings().Read(settings_key::kClaimed));
}

TEST_F(HostileFilesTest, ReportFileNamesTakenByFolders) {
  MakeDir("RTTY.log");
  MakeDir("Q1AB.sum");
  const PassOutcome got = RunPass(1);
  EXPECT_EQ(expectedReport_.results, got.results);
  EXPECT_EQ(expectedReport_.stored, got.stored);
  EXPECT_NE(std::string::npos, ReadFile("err.txt").find("   DUPE !!!\r\n"));
}
