#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

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

// What the folders held at the moment of the move.
std::vector<std::set<std::string>> g_atTheMove;
void ListFoldersAtTheMove(const std::string&) { g_atTheMove = {FilesIn("."), FilesIn("logs")}; }

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
    EXPECT_EQ(std::set<std::string>({"Plugins", "RTTY.log"}), FilesIn(".")) << c.what;
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
  EXPECT_EQ(std::set<std::string>({"Plugins", "RTTY.log"}), FilesIn("."));
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
  EXPECT_EQ(std::set<std::string>({"Plugins", "verdicts.tsv"}), FilesIn("."));

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
  EXPECT_EQ(std::set<std::string>({"Plugins", "verdicts.tsv"}), FilesIn("."));
}

// The temporary file is a new file of its own on every write: a file or a
// folder that a user left under any name beside the target is never opened,
// replaced or removed, and two writers of one target never share one.
TEST_F(WholeFileTest, TemporaryFilesNeverTouchAFileOfAnyoneElse) {
  WriteFile("RTTY.log.new", "the user's own notes");
  MakeDir("SSTV.log.new");
  EXPECT_EQ("", WriteWholeFile("RTTY.log", kNew));
  EXPECT_EQ("", WriteWholeFile("SSTV.log", kOld));
  EXPECT_EQ("the user's own notes", ReadFile("RTTY.log.new"));
  EXPECT_EQ(kNew, ReadFile("RTTY.log"));
  EXPECT_EQ(kOld, ReadFile("SSTV.log"));

  const std::set<std::string> before = FilesIn(".");
  WholeFileWriter first("verdicts.tsv", Durability::kWritten);
  WholeFileWriter second("verdicts.tsv", Durability::kWritten);
  first.Write("first\n");
  second.Write("second, longer\n");
  EXPECT_EQ(before.size() + 2, FilesIn(".").size()) << "each writer has a file of its own";
  EXPECT_EQ("", first.Commit());
  EXPECT_EQ("first\n", ReadFile("verdicts.tsv"));
  EXPECT_EQ("", second.Commit());
  EXPECT_EQ("second, longer\n", ReadFile("verdicts.tsv"));
  EXPECT_EQ(std::set<std::string>({"Plugins", "RTTY.log", "RTTY.log.new", "SSTV.log",
                                   "SSTV.log.new", "verdicts.tsv"}),
            FilesIn("."));
}

// When the system will not put a new file in place of one that another
// program holds open, the new bytes go into that file itself: the program
// reading it sees them through its open handle, and nothing is left beside.
TEST_F(WholeFileTest, ATargetHeldOpenIsWrittenInPlace) {
  WriteFile("RTTY.log", kOld);
  std::FILE* reader = std::fopen("RTTY.log", "rb");
  ASSERT_NE(nullptr, reader);
  WholeFileFaults held;
  held.targetHeldOpen = true;
  SetWholeFileFaults(held);
  const std::string whole = WriteWholeFile("RTTY.log", kNew);
  WriteFile("SSTV.log", kOld);
  std::string piecewise;
  {
    WholeFileWriter pieces("SSTV.log");
    pieces.Write(kNew);
    pieces.Write("tail");
    piecewise = pieces.Commit();
  }
  MakeDir("HELL .log");
  const std::string folder = WriteWholeFile("HELL .log", kNew);
  SetWholeFileFaults({});

  EXPECT_EQ("", whole);
  std::string seen(kNew.size() + 10, '\0');
  seen.resize(std::fread(&seen[0], 1, seen.size(), reader));
  std::fclose(reader);
  EXPECT_EQ(kNew, seen) << "the reader's open handle sees the new bytes";
  EXPECT_EQ("", piecewise);
  EXPECT_EQ(kNew + "tail", ReadFile("SSTV.log"));
  EXPECT_EQ(FolderInTheWayReason(), folder) << "what failed is the write in place";
  EXPECT_EQ(std::set<std::string>({"Plugins", "RTTY.log", "SSTV.log", "HELL .log"}), FilesIn("."));
}

// A link is followed: it stays a link, the file it names gets the new bytes,
// and the temporary file is made beside that file, so that it can take its
// place in one step even on another disk.
TEST_F(WholeFileTest, ALinkStaysALinkAndTheFileItNamesIsReplaced) {
  MakeDir("logs");
  WriteFile("logs/RTTY.log", kOld);
  if (symlink("logs/RTTY.log", "RTTY.log") != 0 || symlink("RTTY.log", "copy.log") != 0 ||
      symlink("logs/SSTV.log", "SSTV.log") != 0 || symlink("loop.a", "loop.b") != 0 ||
      symlink("loop.b", "loop.a") != 0) {
    GTEST_SKIP() << "no symbolic links here";
  }
  const std::set<std::string> here = FilesIn(".");
  WholeFileFaults listing;
  listing.beforeMove = &ListFoldersAtTheMove;
  SetWholeFileFaults(listing);
  const std::string written = WriteWholeFile("copy.log", kNew);
  SetWholeFileFaults({});
  EXPECT_EQ("", written);
  ASSERT_EQ(2u, g_atTheMove.size());
  EXPECT_EQ(here, g_atTheMove[0]) << "nothing is made beside the links";
  EXPECT_EQ(2u, g_atTheMove[1].size()) << "the temporary file lies beside the link's target";
  EXPECT_TRUE(IsLink("RTTY.log") && IsLink("copy.log"));
  EXPECT_EQ(kNew, ReadFile("logs/RTTY.log"));

  EXPECT_EQ("", WriteWholeFile("SSTV.log", kOld)) << "a link to a file not there yet";
  EXPECT_TRUE(IsLink("SSTV.log"));
  EXPECT_EQ(kOld, ReadFile("logs/SSTV.log"));
  EXPECT_EQ("Too many levels of symbolic links", WriteWholeFile("loop.a", kNew));
  EXPECT_EQ(std::set<std::string>({"RTTY.log", "SSTV.log"}), FilesIn("logs"));

  // Only a file is written through a link: a device is never renamed over,
  // and the link itself takes the new file, as a link to a folder does.
  ASSERT_EQ(0, symlink("/dev/null", "null.log"));
  ASSERT_EQ(0, symlink("logs", "folder.log"));
  EXPECT_EQ("", WriteWholeFile("null.log", kNew));
  EXPECT_EQ("", WriteWholeFile("folder.log", kOld));
  EXPECT_FALSE(IsLink("null.log") || IsLink("folder.log"));
  EXPECT_EQ(kNew, ReadFile("null.log"));
  EXPECT_EQ(kOld, ReadFile("folder.log"));
  struct stat null;
  EXPECT_TRUE(stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode));
  EXPECT_EQ(std::set<std::string>({"RTTY.log", "SSTV.log"}), FilesIn("logs"));
}
