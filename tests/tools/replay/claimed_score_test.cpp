#include "tools/replay/claimed_score.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ClaimedScoreTest, SumOfTheScoreRowUnlessTheSettingsAgree) {
  const std::string result =
      "\t  KOVA-BRAWLCUP 13.02-14.02.2016 \r\n\t\t     Contestant: Q1OWN\r\n"
      "    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n"
      "QSO:\t 107\t 14\t 22\t 20\t 94\t 13\t 28\r\n"
      "PFX:\t 51\t 13\t 18\t 15\t 45\t 11\t 19\r\n"
      "Score:\t 5457\t 182\t 396\t 300\t 4230\t 143\t 532\r\n\r\nCreated by Q9ZZ 2016";
  EXPECT_EQ(11240, ClaimedScoreOfResult(result));
  EXPECT_EQ(std::nullopt, ClaimedScoreOfResult("QSO:\t 1\r\n"));
  EXPECT_EQ(-2147483647 - 1,
            ClaimedScoreOfResult("QSO:\t 1\t 1\t 0\t 0\t 0\t 0\t 0\r\n"
                                 "PFX:\t 1\t 1\t 0\t 0\t 0\t 0\t 0\r\n"
                                 "Score:\t 2147483647\t 1\t 0\t 0\t 0\t 0\t 0\r\n"))
      << "adds up as the plug-in does, in 32 bits";

  std::vector<std::string> notes;
  EXPECT_EQ("11240", ClaimedScore("11240", result, notes));
  EXPECT_EQ("11240", ClaimedScore("", result, notes)) << "no settings file to write in";
  EXPECT_EQ(std::vector<std::string>{}, notes);
  EXPECT_EQ("11240", ClaimedScore("99", result, notes));
  ASSERT_EQ(1u, notes.size());
  EXPECT_NE(std::string::npos, notes[0].find("Claimed=99")) << notes[0];
  EXPECT_EQ("99", ClaimedScore("99", "no table", notes));
}

}  // namespace
