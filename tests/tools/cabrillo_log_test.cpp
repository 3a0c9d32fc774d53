#include "tools/cabrillo_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cabrillo_reader.h"
#include "tools/host_qso.h"

#ifndef STATS_TOOLS_TEST_DATA
#error "the build names the test data folder"
#endif

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// 13 February 2016 at hh:mm.
COleDateTime At(int hour, int minute) {
  return HostDateTime(*DayNumberOfDate("20160213"), hour * 3600L + minute * 60L);
}

CabrilloQso Qso(COleDateTime time, const char* mode, unsigned int hertz, const char* call,
                const char* nrSent, const char* nrRcvd, bool stored = true) {
  CabrilloQso q;
  q.time = time;
  q.mode = mode;
  q.hertz = hertz;
  q.call = call;
  q.rstSent = "599";
  q.rstRcvd = "599";
  q.nrSent = nrSent;
  q.nrRcvd = nrRcvd;
  q.stored = stored;
  return q;
}

// The small log behind tests/tools/data/cabrillo-small.log: contacts out of
// time order, two at one minute, a refused one, one the plug-in stored without
// a usable time, one without frequency, one on 2 m, a call and an exchange too
// long for their columns, a missing report.
CabrilloLogInput SmallLog() {
  CabrilloLogInput in;
  in.createdBy = "stats-replay 9.9.9";
  in.callsign = "Q1OWN";
  in.claimedScore = "1234";
  CabrilloSettings& s = in.settings;
  s.operators = "Q1OWN Q1OPA";
  s.name =
      "Ana N\xC3\xBA\xC3\xB1"
      "ez";
  s.address = "Calle Mayor 12, Piso 3<CR>Edificio Sol, Urbanizacion Las Palmeras<LF>";
  s.addressCity = "Valencia";
  s.addressPostalCode = "46001";
  s.addressCountry = "Spain";
  s.email = "ana@example.org";
  s.club = "Radio Club Q1";
  s.soapbox =
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

TEST(CabrilloLogTest, QsoColumnsHoldOneTokenEach) {
  CabrilloQso q = Qso(At(9, 5), "RTTY", 14070000, "g4 kq", " 12\t", "", false);
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

TEST(CabrilloLogTest, FrequencyColumn) {
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

TEST(CabrilloLogTest, ModeColumnAndCategory) {
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

TEST(CabrilloLogTest, CategoryModeCountsOnlyTheScoredLines) {
  CabrilloLogInput in;
  in.callsign = "Q1OWN";
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
  in.callsign = "Q1OWN";
  in.claimedScore = "0";
  in.settings.name = std::string("Maximilian ") + std::string(60, 'x') + " Y";
  in.settings.operators = "Q1AAA Q1BBB Q1CCC Q1DDD Q1EEE Q1FFF Q1GGG Q1HHH Q1III Q1JJJ Q1KKK";
  in.settings.address = "1<CR>2<CR>3<CR>4<CR>5<CR>6<CR>7<CR>8";
  in.settings.soapbox = std::string(140, 's');
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

TEST(CabrilloLogTest, PrintableAsciiOnly) {
  EXPECT_EQ("Jorg Muller", PrintableAscii("J\xC3\xB6rg M\xC3\xBCller")) << "UTF-8";
  EXPECT_EQ("Jorg Muller", PrintableAscii("J\xF6rg M\xFCller")) << "Windows-1252";
  EXPECT_EQ("Strasse AEro", PrintableAscii("Stra\xDF"
                                           "e \xC6ro"));
  EXPECT_EQ("a b c", PrintableAscii("a\tb\xA0"
                                    "c"));
  EXPECT_EQ("\"quoted\" - ...", PrintableAscii("\x93quoted\x94 \x96 \x85"));
  EXPECT_EQ("?1?", PrintableAscii(std::string("\x01"
                                              "1\x7F",
                                              3)));
  EXPECT_EQ("a,?", PrintableAscii("\xE2\x82\xAC"))
      << "UTF-8 beyond Latin-1 is read as Windows-1252";
  for (int c = 0; c < 256; ++c) {
    for (char out : PrintableAscii(std::string(1, static_cast<char>(c)))) {
      EXPECT_TRUE(out >= 0x20 && out < 0x7F) << "byte " << c;
    }
  }
}

TEST(CabrilloLogTest, WrapWords) {
  EXPECT_EQ((std::vector<std::string>{"ab cd", "ef"}), WrapWords("ab cd ef", 5));
  EXPECT_EQ((std::vector<std::string>{"ab", "cdefg", "hi"}), WrapWords("  ab   cdefghi ", 5));
  EXPECT_EQ(std::vector<std::string>{}, WrapWords("   ", 5));
}

TEST(CabrilloLogTest, ClaimedScore) {
  const std::string result =
      "\t  KOVA-BRAWLCUP 13.02-14.02.2016 \r\n\t\t     Contestant: Q1OWN\r\n"
      "    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n"
      "QSO:\t 107\t 14\t 22\t 20\t 94\t 13\t 28\r\n"
      "PFX:\t 51\t 13\t 18\t 15\t 45\t 11\t 19\r\n"
      "Score:\t 5457\t 182\t 396\t 300\t 4230\t 143\t 532\r\n\r\nCreated by Q9ZZ 2016";
  EXPECT_EQ(11240, ClaimedScoreOfResult(result));
  EXPECT_EQ(std::nullopt, ClaimedScoreOfResult("QSO:\t 1\r\n"));
  EXPECT_EQ(-2147483647 - 1, ClaimedScoreOfResult("Score:\t 2147483647\t 1\r\n"))
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

TEST(CabrilloLogTest, PluginFileNames) {
  for (const char* name : {"err.txt", "RTTY.log", "psk .log", "HELL .log", "MFSK .log", "MT63 .log",
                           "THROB.log", "SSTV.log", "Q1OWN.sum", "Q1OWN.SUM"}) {
    EXPECT_TRUE(IsPluginReportFileName(name)) << name;
  }
  for (const char* name : {"Q1OWN.log", "PSK.log", "cabrillo.txt", "sum"}) {
    EXPECT_FALSE(IsPluginReportFileName(name)) << name;
  }
  EXPECT_TRUE(IsPluginSettingsFileName("kova-brawlcup.ini"));
  EXPECT_FALSE(IsPluginSettingsFileName("Plugins\\KOVA-BRAWLCUP.ini"));
}

class CabrilloSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("cabrillo_settings_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "KOVA-BRAWLCUP.ini").string();
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(CabrilloSettingsTest, NoFileGivesTheFormsDefaults) {
  const CabrilloSettings s = ReadCabrilloSettings(path_, "Q1OWN");
  EXPECT_EQ("Q1OWN", s.operators);
  EXPECT_EQ("DX", s.location);
  for (const std::string* empty :
       {&s.name, &s.address, &s.addressCity, &s.addressState, &s.addressPostalCode,
        &s.addressCountry, &s.email, &s.club, &s.soapbox, &s.claimed}) {
    EXPECT_EQ("", *empty);
  }
}

TEST_F(CabrilloSettingsTest, ValuesAsTheFormStoredThem) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << "[Settings]\r\nStart=0\r\nClaimed=11240\r\nOperators=Q1OWN Q1OPA\r\nName=Ana\r\n"
           "Address=Main St 1<CR>Flat 2\r\nAddress-City=Town\r\nAddress-State=ST\r\n"
           "Address-PostalCode=12345\r\nAddress-Country=Land\r\nContest=KOVA-BRAWLCUP \r\n"
           "Email=a@b.c\r\nClub=Club\r\nLocation=ON\r\nSoapBox=abc<CR><LF>def\r\n"
           "[Other]\r\nName=not this\r\n";
  }
  const CabrilloSettings s = ReadCabrilloSettings(path_, "Q1OWN");
  EXPECT_EQ("Q1OWN Q1OPA", s.operators);
  EXPECT_EQ("Ana", s.name);
  EXPECT_EQ("Main St 1<CR>Flat 2", s.address);
  EXPECT_EQ("Town", s.addressCity);
  EXPECT_EQ("ST", s.addressState);
  EXPECT_EQ("12345", s.addressPostalCode);
  EXPECT_EQ("Land", s.addressCountry);
  EXPECT_EQ("a@b.c", s.email);
  EXPECT_EQ("Club", s.club);
  EXPECT_EQ("ON", s.location);
  EXPECT_EQ("abc<CR><LF>def", s.soapbox);
  EXPECT_EQ("11240", s.claimed);

  CabrilloLogInput in;
  in.callsign = "Q1OWN";
  in.settings = s;
  std::vector<std::string> notes;
  const std::string bytes = FormatCabrilloLog(in, notes).bytes;
  EXPECT_NE(std::string::npos,
            bytes.find("\r\nADDRESS: Main St 1\r\nADDRESS: Flat 2\r\nADDRESS-CITY: Town\r\n"
                       "ADDRESS-STATE-PROVINCE: ST\r\nADDRESS-POSTALCODE: 12345\r\n"
                       "ADDRESS-COUNTRY: Land\r\nSOAPBOX: abc\r\nSOAPBOX: def\r\n"))
      << bytes;
  EXPECT_NE(std::string::npos, bytes.find("\r\nLOCATION: ON\r\n")) << bytes;
}

TEST_F(CabrilloSettingsTest, ALongValueReadsAsThePluginReadsIt) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << "[Settings]\r\nSoapBox=" << std::string(150, 'a') << "\r\n";
  }
  EXPECT_EQ(std::string(99, 'a'), ReadCabrilloSettings(path_, "Q1OWN").soapbox);
}

}  // namespace
