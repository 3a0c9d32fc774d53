#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "test_support.h"

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using WholeFileTest = ScratchDirTest;

const std::string kOld = "the last good report\r\n";
const std::string kNew(5000, 'n');

// Turns the target into a folder just before the move.
void TargetBecomesAFolder(const std::string& target) {
  std::remove(target.c_str());
  MakeDir(target);
}

}  // namespace

TEST_F(WholeFileTest, WritesWholeAndReplacesTheOldFile) {
  WriteFile("RTTY.log", kOld);
  EXPECT_EQ("", WriteWholeFile("RTTY.log", kNew));
  EXPECT_EQ(kNew, ReadFile("RTTY.log"));
  EXPECT_EQ("", WriteWholeFile("Plugins/new.ini", "x", Durability::kWritten));
  EXPECT_EQ("x", ReadFile("Plugins/new.ini"));
  EXPECT_NE("", WriteWholeFile("no-such-folder/RTTY.log", kNew)) << "folders are never made";
}

// Each way a write can fail leaves the old file as it was, removes the
// temporary file and says why.
TEST_F(WholeFileTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
  struct Case {
    const char* what;
    WholeFileFaults faults;
    std::string reason;
  };
  WholeFileFaults stops;
  stops.stopAfter = 4096;
  WholeFileFaults nothing;
  nothing.stopAfter = 0;
  WholeFileFaults folder;
  folder.beforeMove = &TargetBecomesAFolder;
  const Case cases[] = {
      {"the write stops after 4096 bytes", stops, "No space left on device"},
      {"not a byte can be written", nothing, "No space left on device"},
      {"the target is a folder at the moment of the move", folder, FolderInTheWayReason()},
  };
  for (const Case& c : cases) {
    RemoveDirTree("RTTY.log");
    std::remove("RTTY.log");
    WriteFile("RTTY.log", kOld);
    SetWholeFileFaults(c.faults);
    const std::string reason = WriteWholeFile("RTTY.log", kNew);
    SetWholeFileFaults({});
    EXPECT_EQ(c.reason, reason) << c.what;
    if (c.faults.beforeMove == nullptr) {
      EXPECT_EQ(kOld, ReadFile("RTTY.log")) << c.what;
    }
    EXPECT_FALSE(FileExists("RTTY.log.new")) << c.what;
  }
}

#if !defined(_WIN32)
// A real full disk, as the system reports it: the file size limit makes every
// write past it fail.
TEST_F(WholeFileTest, TheSystemRefusingMoreBytesKeepsTheOldFile) {
  WriteFile("RTTY.log", kOld);
  struct rlimit saved;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
  void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  const std::string reason = WriteWholeFile("RTTY.log", kNew);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ("File too large", reason);
  EXPECT_EQ(kOld, ReadFile("RTTY.log"));
  EXPECT_FALSE(FileExists("RTTY.log.new"));
}
#endif

// A file written in pieces appears only at Commit, whole; a writer dropped
// before it, or a piece that cannot be written, leaves the old file alone.
TEST_F(WholeFileTest, APieceWiseWriteAppearsOnlyWhole) {
  WriteFile("verdicts.tsv", kOld);
  {
    WholeFileWriter writer("verdicts.tsv", Durability::kWritten);
    writer.Write(kNew);
    writer.Write("tail\n");
    EXPECT_EQ(kOld, ReadFile("verdicts.tsv")) << "nothing shows before Commit";
    EXPECT_EQ("", writer.Commit());
    EXPECT_NE("", writer.Commit()) << "a second Commit has nothing to put in place";
  }
  EXPECT_EQ(kNew + "tail\n", ReadFile("verdicts.tsv"));

  WriteFile("verdicts.tsv", kOld);
  {
    WholeFileWriter writer("verdicts.tsv");
    writer.Write(kNew);
  }
  EXPECT_EQ(kOld, ReadFile("verdicts.tsv")) << "dropped without Commit";
  EXPECT_FALSE(FileExists("verdicts.tsv.new"));

  WholeFileFaults stops;
  stops.stopAfter = kNew.size() + 2;
  SetWholeFileFaults(stops);
  WholeFileWriter writer("verdicts.tsv");
  writer.Write(kNew);
  writer.Write("tail\n");
  const std::string reason = writer.Commit();
  SetWholeFileFaults({});
  EXPECT_EQ("No space left on device", reason) << "the second piece ran out of room";
  EXPECT_EQ(kOld, ReadFile("verdicts.tsv"));
  EXPECT_FALSE(FileExists("verdicts.tsv.new"));
}
