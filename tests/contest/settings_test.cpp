#include "contest/settings.h"

#include <climits>

#include "test_support.h"

TEST(LeadingInt, TakesTheLeadingDecimalNumber) {
  EXPECT_EQ(1, LeadingInt("1abc"));
  EXPECT_EQ(-5, LeadingInt("  -5x"));
  EXPECT_EQ(7, LeadingInt("+7"));
  EXPECT_EQ(0, LeadingInt(""));
  EXPECT_EQ(0, LeadingInt("abc"));
  EXPECT_EQ(0, LeadingInt("-"));
  EXPECT_EQ(400, LeadingInt("400 px"));
  EXPECT_EQ(INT_MAX, LeadingInt("99999999999999999999"));
  EXPECT_EQ(INT_MIN, LeadingInt("-99999999999999999999"));
}

using SettingsTest = ScratchDirTest;

TEST_F(SettingsTest, NumbersRoundTripThroughTheFile) {
  Settings s;
  EXPECT_EQ(0, s.ReadNumber(settings_key::kDxccX));
  s.WriteNumber(settings_key::kDxccX, -120);
  s.WriteNumber(settings_key::kDxccY, 400);
  EXPECT_EQ(-120, s.ReadNumber(settings_key::kDxccX));
  EXPECT_EQ("400", s.Read(settings_key::kDxccY));
  EXPECT_EQ("[Settings]\r\ndxcc_x=-120\r\ndxcc_y=400\r\n", ReadFile("Plugins/KOVA-BRAWLCUP.ini"));
  s.Write(settings_key::kMaster, "1abc");
  EXPECT_EQ(1, s.ReadNumber(settings_key::kMaster));
}
