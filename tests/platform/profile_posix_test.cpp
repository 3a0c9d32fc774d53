// Details of our own INI functions: what a write leaves of the rest of the file.
#include "platform/profile.h"

#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

namespace {
const std::string kPath = "Plugins\\KOVA-BRAWLCUP.ini";
const std::string kFile = "Plugins/KOVA-BRAWLCUP.ini";
}  // namespace

using IniFileTest = ScratchDirTest;

TEST_F(IniFileTest, WriteReplacesInPlaceAndKeepsEveryOtherLine) {
  WriteFile(kFile,
            "; written by hand\n[Other]\nStart=9\n\n[Settings]\nName = Jo\n; keep me\nStart=0\n"
            "[Last]\nx=1\n");
  ProfileWriteString(kPath, "SETTINGS", "start", "1");
  ProfileWriteString(kPath, "Settings", "Club", "KOVA");
  ProfileWriteString(kPath, "New", "k", "v");
  EXPECT_EQ(
      "; written by hand\r\n[Other]\r\nStart=9\r\n\r\n[Settings]\r\nName = Jo\r\n; keep me\r\n"
      "start=1\r\nClub=KOVA\r\n[Last]\r\nx=1\r\n[New]\r\nk=v\r\n",
      ReadFile(kFile));
  EXPECT_EQ("9", ProfileReadString(kPath, "Other", "Start", ""));
}

TEST_F(IniFileTest, CrLfAndLfFilesReadAlike) {
  WriteFile(kFile, "[Settings]\r\nmode=HELL\r\n");
  EXPECT_EQ("HELL", ProfileReadString(kPath, "Settings", "mode", ""));
  WriteFile(kFile, "[Settings]\nmode=MFSK");
  EXPECT_EQ("MFSK", ProfileReadString(kPath, "Settings", "mode", ""));
}

TEST_F(IniFileTest, UnwritableFileLosesTheValueSilently) {
  if (geteuid() == 0) {
    // root writes through permission bits; a directory in the file's place
    // stands in for a file that cannot be written.
    MakeDir(kFile);
  } else {
    WriteFile(kFile, "[Settings]\r\nStart=0\r\n");
    chmod(kFile.c_str(), 0444);
  }
  EXPECT_FALSE(ProfileWriteString(kPath, "Settings", "Start", "1"));
  EXPECT_NE("1", ProfileReadString(kPath, "Settings", "Start", ""));
}

// A write replaces the file through a temporary file of its own: whatever
// else lies in the folder stays, and a settings file that is a link stays a
// link to the file that gets the new value.
TEST_F(IniFileTest, WritesLeaveOtherFilesAndFollowALink) {
  MakeDir(kFile + ".new");
  MakeDir("shared");
  WriteFile("shared/stats.ini", "[Settings]\r\nName=Jo\r\n");
  ASSERT_EQ(0, symlink("../shared/stats.ini", kFile.c_str()));
  EXPECT_TRUE(ProfileWriteString(kPath, "Settings", "Start", "1"));
  EXPECT_TRUE(IsLink(kFile));
  EXPECT_EQ("[Settings]\r\nName=Jo\r\nStart=1\r\n", ReadFile("shared/stats.ini"));
  EXPECT_EQ(std::set<std::string>({"KOVA-BRAWLCUP.ini", "KOVA-BRAWLCUP.ini.new"}),
            FilesIn("Plugins"));
  EXPECT_EQ(std::set<std::string>({"stats.ini"}), FilesIn("shared"));
}
