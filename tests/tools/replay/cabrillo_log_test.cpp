#include "tools/replay/cabrillo_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cabrillo_contacts.h"
#include "cabrillo_reader.h"

#ifndef STATS_TOOLS_TEST_DATA
#error "the build names the test data folder"
#endif

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The small log behind tests/tools/data/cabrillo-small.log: contacts out of
// time order, two at one minute, a refused one, one the plug-in stored without
// a usable time, one without frequency, one on 2 m, a call and an exchange too
// long for their columns, a missing report.
CabrilloLogInput SmallLog() {
  CabrilloLogInput in;
  in.createdBy = "stats-replay 9.9.9";
  in.header.m_callsign = "Q1OWN";
  in.header.m_claimed = "1234";
  CabrilloHeader& s = in.header;
  s.m_operators = "Q1OWN Q1OPA";
  s.m_name =
      "Ana N\xC3\xBA\xC3\xB1"
      "ez";
  s.m_address = "Calle Mayor 12, Piso 3<CR>Edificio Sol, Urbanizacion Las Palmeras<LF>";
  s.m_addressCity = "Valencia";
  s.m_addressPostalCode = "46001";
  s.m_addressCountry = "Spain";
  s.m_email = "ana@example.org";
  s.m_club = "Radio Club Q1";
  s.m_soapbox =
      "First contest with the new antenna: a long line that a Cabrillo robot would refuse "
      "unwrapped.<CR><LF>73!";
  in.qsos.push_back(Qso(At(14, 10), "RTTY", 14080500, "Q2AA", "2", "17"));
  in.qsos.push_back(Qso(At(14, 5), "BPSK31", 3580000, "Q3BB", "1", "5"));
  in.qsos.back().rstSent = "";
  in.qsos.push_back(Qso(At(14, 10), "HELL", 0, "Q4ABCDEFGHIJ/MM", "1234567", "9"));
  in.qsos.back().band = "20m";
  in.qsos.push_back(Qso(At(14, 20), "CW", 7025000, "Q5DD", "3", "", false));
  in.qsos.push_back(
      Qso(COleDateTime{0.0, COleDateTime::invalid}, "RTTY", 14081000, "Q7FF", "5", "33"));
  in.qsos.back().record = 6;
  in.qsos.push_back(Qso(At(14, 30), "MT63", 144174000, "Q6EE", "4", "21"));
  in.qsos.back().rstSent = "57";
  return in;
}

TEST(CabrilloLogTest, SmallLogMatchesTheGoldenFile) {
  std::vector<std::string> notes;
  const CabrilloLogText log = FormatCabrilloLog(SmallLog(), notes);
  const std::string golden = ReadBytes(STATS_TOOLS_TEST_DATA "/cabrillo-small.log");
  ASSERT_FALSE(golden.empty()) << "cannot read the golden file";
  EXPECT_EQ(golden, log.bytes);
  EXPECT_EQ(4, log.qsoLines);
  EXPECT_EQ(2, log.xQsoLines);
  EXPECT_EQ(std::vector<std::string>{"record 6 (Q7FF) was stored by the plug-in but has no date "
                                     "and time a Cabrillo QSO line can hold; it is written as "
                                     "X-QSO"},
            notes);
}

TEST(CabrilloLogTest, TheReaderAcceptsTheGoldenFileAndReadsItsColumns) {
  const CabrilloReadLog log =
      ReadCabrilloLog(ReadBytes(STATS_TOOLS_TEST_DATA "/cabrillo-small.log"));
  EXPECT_EQ(std::vector<std::string>{}, log.problems);
  EXPECT_EQ((std::vector<std::string>{"Calle Mayor 12, Piso 3", "Edificio Sol, Urbanizacion Las",
                                      "Palmeras"}),
            log.header.at("ADDRESS"));
  ASSERT_EQ(6u, log.qsos.size());
  const CabrilloReadQso& longOne = log.qsos[2];
  EXPECT_EQ("14000", longOne.freq);
  EXPECT_EQ("1234567", longOne.sentExchange);
  EXPECT_EQ("Q4ABCDEFGHIJ/MM", longOne.rcvdCall);
  EXPECT_EQ("599", longOne.rcvdRst);
  EXPECT_EQ("9", longOne.rcvdExchange);
  EXPECT_TRUE(log.qsos[3].refused);
  EXPECT_EQ("CW", log.qsos[3].mode);
}

// Each fault a robot refuses, put into the golden file, is found.
TEST(CabrilloLogTest, TheReaderRefusesWhatARobotRefuses) {
  const std::string good = ReadBytes(STATS_TOOLS_TEST_DATA "/cabrillo-small.log");
  ASSERT_FALSE(good.empty());
  auto with = [&](const std::string& from, const std::string& to) {
    std::string bytes = good;
    const std::size_t at = bytes.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    return at == std::string::npos ? bytes : bytes.replace(at, from.size(), to);
  };
  auto problems = [](const std::string& bytes) {
    std::string all;
    for (const std::string& p : ReadCabrilloLog(bytes).problems) {
      all += p + "\n";
    }
    return all;
  };
  struct Fault {
    std::string from;
    std::string to;
    std::string problem;
  };
  const Fault faults[] = {
      {"CONTEST: KOVA-BRAWLCUP\r\n", "CONTEST: KOVA-BRAWLCUP\n", "byte 10"},
      {"NAME: Ana", "NAME:\tAna", "byte 9"},
      {"END-OF-LOG:\r\n", "", "no END-OF-LOG"},
      {"START-OF-LOG: 3.0", "START-OF-LOG: 2.0", "first line"},
      {"CALLSIGN: Q1OWN\r\n", "", "no CALLSIGN"},
      {"CATEGORY-MODE: DIGI", "CATEGORY-MODE: PSK", "CATEGORY-MODE 'PSK'"},
      {"CLAIMED-SCORE: 1234", "CLAIMED-SCORE: many", "not a number"},
      {"ADDRESS: Palmeras", "ADDRESS: Palmeras Palmeras Palmeras Palmeras P", "longer than 45"},
      {"ADDRESS-CITY: Valencia\r\n", "", ""},
      {"SOAPBOX: 73!", "SOAPBOX: 73! " + std::string(70, 'x'), "longer than 75"},
      {"NAME: Ana Nunez", "NAME: Ana Nunez\r\nNAME: Other", "NAME a second time"},
      {"2016-02-13 1405", "2016-02-30 1405", "no date and time"},
      {"1405 Q1OWN", "2405 Q1OWN", "no date and time"},
      {"QSO:  3580 DG", "QSO:  3580 PS", "mode 'PS'"},
      {"QSO:  3580", "QSO: 35,80", "frequency"},
      {"599 1      Q3BB", "599 Q3BB", "10 fields"},
      {"1234567 Q4ABCDEFGHIJ/MM 599", "1234567  Q4ABCDEFGHIJ/MM 599", "columns differ"},
      {"QSO:  3580", "QSO: 3580 ", "columns differ"},
      {"QSO:   144 DG 2016-02-13 1430", "QSO:   144 DG 2016-02-13 1400", "time order"},
      {"END-OF-LOG:", "SOAPBOX: late\r\nEND-OF-LOG:", "after the first QSO"},
      {"CLUB:", "CLUBS:", "unknown tag CLUBS"},
  };
  for (const Fault& f : faults) {
    const std::string found = problems(with(f.from, f.to));
    if (f.problem.empty()) {
      EXPECT_EQ("", found) << "an optional tag left out: " << f.from;
    } else {
      EXPECT_NE(std::string::npos, found.find(f.problem))
          << "'" << f.from << "' -> '" << f.to << "' gave:\n"
          << found;
    }
  }
}

TEST(CabrilloLogTest, CategoryModeCountsOnlyTheScoredLines) {
  CabrilloLogInput in;
  in.header.m_callsign = "Q1OWN";
  in.qsos.push_back(Qso(At(1, 0), "RTTY", 7040000, "Q2AA", "1", "2"));
  in.qsos.push_back(Qso(At(1, 5), "HELL", 7040000, "Q2BB", "2", "", false));
  std::vector<std::string> notes;
  const std::string bytes = FormatCabrilloLog(in, notes).bytes;
  EXPECT_NE(std::string::npos, bytes.find("\r\nCATEGORY-MODE: RTTY\r\n")) << bytes;
  EXPECT_NE(std::string::npos, bytes.find("\r\nOPERATORS: Q1OWN\r\n"))
      << "operators default to the own call";
  EXPECT_EQ(std::string::npos, bytes.find("NAME")) << "empty values are left out";
}

TEST(CabrilloLogTest, OverlongHeaderValues) {
  CabrilloLogInput in;
  in.createdBy = "stats-replay 1.0";
  in.header.m_callsign = "Q1OWN";
  in.header.m_claimed = "0";
  in.header.m_name = std::string("Maximilian ") + std::string(60, 'x') + " Y";
  in.header.m_operators = "Q1AAA Q1BBB Q1CCC Q1DDD Q1EEE Q1FFF Q1GGG Q1HHH Q1III Q1JJJ Q1KKK";
  in.header.m_address = "1<CR>2<CR>3<CR>4<CR>5<CR>6<CR>7<CR>8";
  in.header.m_soapbox = std::string(140, 's');
  std::vector<std::string> notes;
  const std::string bytes = FormatCabrilloLog(in, notes).bytes;
  const CabrilloReadLog read = ReadCabrilloLog(bytes);
  EXPECT_EQ(std::vector<std::string>{}, read.problems) << bytes;
  EXPECT_EQ(std::vector<std::string>{"Maximilian"}, read.header.at("NAME"));
  EXPECT_EQ((std::vector<std::string>{"Q1AAA Q1BBB Q1CCC Q1DDD Q1EEE Q1FFF Q1GGG Q1HHH Q1III Q1JJJ",
                                      "Q1KKK"}),
            read.header.at("OPERATORS"));
  EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4", "5", "6"}), read.header.at("ADDRESS"));
  EXPECT_EQ(
      (std::vector<std::string>{std::string(66, 's'), std::string(66, 's'), std::string(8, 's')}),
      read.header.at("SOAPBOX"))
      << "a word longer than a line is split, never cut";
  EXPECT_EQ((std::vector<std::string>{
                "NAME is longer than a Cabrillo header line allows; only 'Maximilian' is written",
                "ADDRESS has more lines than Cabrillo allows; '7' and what follows are left out"}),
            notes);
}

}  // namespace
