// The settings against the system's own profile functions: the relative path,
// the 99-character cut, the layout of a new file and the leading-number rule.
#include <windows.h>

#include <string>

#include "platform/profile.h"
#include "contest/settings.h"
#include "test_support.h"

namespace {

constexpr char kIni[] = "Plugins\\KOVA-BRAWLCUP.ini";

class ProfileWin32Test : public ScratchDirTest {};

TEST_F(ProfileWin32Test, MissingFileGivesTheFallback) {
  EXPECT_EQ("dflt", ProfileReadString(kIni, "Settings", "Name", "dflt"));
  EXPECT_EQ("", Settings().Read(settings_key::kName));
  EXPECT_FALSE(FileExists("Plugins/KOVA-BRAWLCUP.ini")) << "a read creates nothing";
}

TEST_F(ProfileWin32Test, FirstWriteCreatesSectionAndKeyBelowTheCurrentFolder) {
  Settings().Write(settings_key::kMaster, "1");
  EXPECT_EQ("[Settings]\r\nMaster=1\r\n", ReadFile("Plugins/KOVA-BRAWLCUP.ini"));
  Settings().Write(settings_key::kMaster, "0");
  Settings().Write(settings_key::kName, "Ann");
  EXPECT_EQ("[Settings]\r\nMaster=0\r\nName=Ann\r\n", ReadFile("Plugins/KOVA-BRAWLCUP.ini"))
      << "a value is replaced in place, a new key goes after the others";
  EXPECT_EQ("0", Settings().Read(settings_key::kMaster));
}

TEST_F(ProfileWin32Test, LongValueReadsBackCutTo99Characters) {
  const std::string value(150, 'x');
  ASSERT_TRUE(ProfileWriteString(kIni, "Settings", "SoapBox", value));
  EXPECT_EQ(std::string(99, 'x'), Settings().Read(settings_key::kSoapBox));
  EXPECT_EQ(std::string(99, 'y'), ProfileReadString(kIni, "Settings", "Absent",
                                                    std::string(150, 'y')))
      << "the fallback is cut the same way";
}

TEST_F(ProfileWin32Test, NumbersReadAsTheirLeadingInteger) {
  WriteFile("Plugins/KOVA-BRAWLCUP.ini", "[Settings]\r\nMaster=1abc\r\nmode_x= -25px\r\n");
  EXPECT_EQ(1, Settings().ReadNumber(settings_key::kMaster));
  EXPECT_EQ(-25, Settings().ReadNumber(settings_key::kModeX));
  EXPECT_EQ(0, Settings().ReadNumber(settings_key::kModeY));
}

TEST_F(ProfileWin32Test, SectionAndKeyNamesIgnoreCase) {
  WriteFile("Plugins/KOVA-BRAWLCUP.ini", "[SETTINGS]\r\nMASTER=2\r\n");
  EXPECT_EQ("2", Settings().Read(settings_key::kMaster));
}

TEST_F(ProfileWin32Test, MissingFolderLosesTheWriteSilently) {
  RemoveDirTree("Plugins");
  Settings().Write(settings_key::kMaster, "1");
  EXPECT_FALSE(FileExists("Plugins")) << "the folder is never created";
  EXPECT_EQ("", Settings().Read(settings_key::kMaster));
}

}  // namespace
