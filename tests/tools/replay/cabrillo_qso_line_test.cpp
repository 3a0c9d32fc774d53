#include "tools/replay/cabrillo_qso_line.h"

#include <gtest/gtest.h>

#include "cabrillo_contacts.h"

namespace {

TEST(CabrilloQsoLineTest, QsoColumnsHoldOneTokenEach) {
  ReplayedContact q = Qso(At(9, 5), "RTTY", 14070000, "g4 kq", " 12\t", "", false);
  q.rstRcvd = "";
  EXPECT_EQ("X-QSO: 14070 RY 2016-02-13 0905 Q1OWN/P       599 12     G4_KQ         599 -",
            FormatCabrilloQsoLine("X-QSO:", q, "q1own/p"));
  q = Qso(At(23, 59), "FM", 3580999, "Q2AA", "001", "002");
  q.rstSent = "";
  q.rstRcvd = "";
  EXPECT_EQ("QSO:  3580 FM 2016-02-13 2359 Q1OWN         59  001    Q2AA          59  002",
            FormatCabrilloQsoLine("QSO:", q, "Q1OWN"))
      << "a voice mode's report has two digits; the kilohertz are cut, not rounded";
  q = Qso(At(0, 0), "OLIVIA", 28120000, "Q1ABCDEFGHIJKL", "12345678", "7");
  EXPECT_EQ("QSO: 28120 DG 2016-02-13 0000 Q1OWNXYZABCDEFG 599 12345678 Q1ABCDEFGHIJKL 599 7",
            FormatCabrilloQsoLine("QSO:", q, "Q1OWNXYZABCDEFG"));
}

TEST(CabrilloQsoLineTest, FrequencyColumn) {
  EXPECT_EQ("1838", CabrilloFrequency(1838150, "160m"));
  EXPECT_EQ("29699", CabrilloFrequency(29699999, ""));
  EXPECT_EQ("50", CabrilloFrequency(50313000, ""));
  EXPECT_EQ("144", CabrilloFrequency(144174000, "2m"));
  EXPECT_EQ("1.2G", CabrilloFrequency(1296200000, "23cm"));
  EXPECT_EQ("45000", CabrilloFrequency(45000000, "8m")) << "a band Cabrillo has no designator for";
  EXPECT_EQ("14000", CabrilloFrequency(0, "20m"));
  EXPECT_EQ("3500", CabrilloFrequency(0, "80M"));
  EXPECT_EQ("432", CabrilloFrequency(0, "70cm"));
  EXPECT_EQ("0", CabrilloFrequency(0, ""));
  EXPECT_EQ("0", CabrilloFrequency(0, "11m"));
}

}  // namespace
