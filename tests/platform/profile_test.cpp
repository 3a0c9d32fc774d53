// Settings file behaviour that holds for our INI functions and for the
// Windows profile functions alike.
#include "platform/profile.h"

#include <string>

#include "test_support.h"

namespace {
const std::string kPath = "Plugins\\KOVA-BRAWLCUP.ini";
const std::string kFile = "Plugins/KOVA-BRAWLCUP.ini";
}  // namespace

using ProfileTest = ScratchDirTest;

TEST_F(ProfileTest, MissingFileGivesTheDefaultAndFirstWriteCreatesIt) {
  EXPECT_EQ("dflt", ProfileReadString(kPath, "Settings", "Start", "dflt"));
  EXPECT_FALSE(FileExists(kFile));
  EXPECT_TRUE(ProfileWriteString(kPath, "Settings", "Start", "1"));
  EXPECT_EQ("[Settings]\r\nStart=1\r\n", ReadFile(kFile));
  EXPECT_EQ("1", ProfileReadString(kPath, "Settings", "Start", ""));
}

TEST_F(ProfileTest, NamesCompareWithoutCaseAndValuesAreTrimmed) {
  WriteFile(kFile, "[settings]\nMODE =  RTTY  \nName=Jo Smith\n");
  EXPECT_EQ("RTTY", ProfileReadString(kPath, "Settings", "mode", ""));
  EXPECT_EQ("Jo Smith", ProfileReadString(kPath, "SETTINGS", "name", ""));
  EXPECT_EQ("", ProfileReadString(kPath, "Settings", "Club", ""));
  EXPECT_EQ("x", ProfileReadString(kPath, "Other", "mode", "x"));
}

TEST_F(ProfileTest, ReplacingAValueKeepsOneEntry) {
  ProfileWriteString(kPath, "Settings", "Start", "1");
  ProfileWriteString(kPath, "Settings", "Claimed", "42");
  ProfileWriteString(kPath, "Settings", "start", "0");
  EXPECT_EQ("0", ProfileReadString(kPath, "Settings", "Start", ""));
  EXPECT_EQ("42", ProfileReadString(kPath, "Settings", "Claimed", ""));
  const std::string bytes = ReadFile(kFile);
  EXPECT_EQ(std::string::npos, bytes.find("=1")) << bytes;
  EXPECT_NE(std::string::npos, bytes.find("Claimed=42\r\n")) << bytes;
}

TEST_F(ProfileTest, ReadKeepsAtMost99Characters) {
  const std::string longValue(150, 'a');
  ProfileWriteString(kPath, "Settings", "SoapBox", longValue);
  EXPECT_EQ(std::string(99, 'a'), ProfileReadString(kPath, "Settings", "SoapBox", ""));
  EXPECT_EQ(std::string(99, 'b'),
            ProfileReadString(kPath, "Settings", "Missing", std::string(120, 'b')));
}

TEST_F(ProfileTest, MissingFolderIsNeverCreated) {
  RemoveDirTree("Plugins");
  ProfileWriteString(kPath, "Settings", "Start", "1");
  EXPECT_FALSE(FileExists("Plugins"));
  EXPECT_EQ("", ProfileReadString(kPath, "Settings", "Start", ""));
}

TEST_F(ProfileTest, MatchingQuotesAroundAValueAreDropped) {
  WriteFile(kFile,
            "[Settings]\r\nName=\"Jo Smith\"\r\nClub='KOVA'\r\nA=\"x'\r\nB=  \" spaced \"  \r\n"
            "C=\"x\" y \"z\"\r\nD=\"\r\n");
  EXPECT_EQ("Jo Smith", ProfileReadString(kPath, "Settings", "Name", ""));
  EXPECT_EQ("KOVA", ProfileReadString(kPath, "Settings", "Club", ""));
  EXPECT_EQ("\"x'", ProfileReadString(kPath, "Settings", "A", "")) << "quotes that differ stay";
  EXPECT_EQ(" spaced ", ProfileReadString(kPath, "Settings", "B", ""))
      << "blanks outside the quotes go, blanks inside stay";
  EXPECT_EQ("x\" y \"z", ProfileReadString(kPath, "Settings", "C", ""));
  EXPECT_EQ("\"", ProfileReadString(kPath, "Settings", "D", ""));
  // What an operator typed in quotes comes back without them next time.
  ProfileWriteString(kPath, "Settings", "SoapBox", "\"Hello\"");
  EXPECT_EQ("Hello", ProfileReadString(kPath, "Settings", "SoapBox", ""));
  EXPECT_EQ("fb", ProfileReadString(kPath, "Settings", "Missing", "\"fb\""))
      << "the fallback loses its quotes too";
}

TEST_F(ProfileTest, FallbackLosesOnlyItsTrailingSpaces) {
  EXPECT_EQ("  fb", ProfileReadString(kPath, "Settings", "Missing", "  fb  "));
  EXPECT_EQ("\tfb\t", ProfileReadString(kPath, "Settings", "Missing", "\tfb\t"));
  EXPECT_EQ(" \"fb\"", ProfileReadString(kPath, "Settings", "Missing", " \"fb\" "));
}

TEST_F(ProfileTest, AValueEndsAtAZeroByte) {
  WriteFile(kFile, std::string("[Settings]\r\nName=Jo\0Smith\r\nClub=KOVA\r\n", 38));
  EXPECT_EQ("Jo", ProfileReadString(kPath, "Settings", "Name", ""));
  EXPECT_EQ("KOVA", ProfileReadString(kPath, "Settings", "Club", ""));
}
