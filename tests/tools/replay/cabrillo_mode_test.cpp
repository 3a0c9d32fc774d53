#include "tools/replay/cabrillo_mode.h"

#include <gtest/gtest.h>

namespace {

TEST(CabrilloModeTest, ModeColumnAndCategory) {
  EXPECT_EQ("RY", CabrilloMode("RTTY"));
  for (const char* digital : {"BPSK31", "BPSK125", "HELL", "MFSK", "OLIVIA", "MT63", "THROB",
                              "SSTV", "FT8", "PSK250", ""}) {
    EXPECT_EQ("DG", CabrilloMode(digital)) << digital;
  }
  EXPECT_EQ("CW", CabrilloMode("CW"));
  EXPECT_EQ("PH", CabrilloMode("SSB"));
  EXPECT_EQ("PH", CabrilloMode("AM"));
  EXPECT_EQ("FM", CabrilloMode("FM"));

  EXPECT_EQ("RTTY", CabrilloCategoryMode({"RY", "RY"}));
  EXPECT_EQ("RTTY", CabrilloCategoryMode({})) << "as the header form starts";
  EXPECT_EQ("DIGI", CabrilloCategoryMode({"RY", "DG"}));
  EXPECT_EQ("DIGI", CabrilloCategoryMode({"DG"}));
  EXPECT_EQ("MIXED", CabrilloCategoryMode({"RY", "FM"}));
}

}  // namespace
