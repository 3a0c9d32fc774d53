#include "tools/replay/host_qso.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

AdifRecord Record(std::vector<AdifField> fields, int number = 3, int line = 7) {
  AdifRecord r;
  r.number = number;
  r.line = line;
  r.fields = std::move(fields);
  return r;
}

std::vector<std::string> Texts(const std::vector<AdifWarning>& warnings) {
  std::vector<std::string> texts;
  for (const AdifWarning& w : warnings) {
    texts.push_back(FormatWarning(w));
  }
  return texts;
}

TEST(HostQsoTest, FrequencyIsAnExactDecimal) {
  EXPECT_EQ(14080000u, ParseFrequencyHz("14.08"));
  EXPECT_EQ(14080000u, ParseFrequencyHz("14.080000"));
  EXPECT_EQ(14080000u, ParseFrequencyHz("14.0799995")) << "half a hertz rounds up";
  EXPECT_EQ(14079999u, ParseFrequencyHz("14.0799994"));
  EXPECT_EQ(14080001u, ParseFrequencyHz("14.08000099"));
  EXPECT_EQ(7000000u, ParseFrequencyHz("7"));
  EXPECT_EQ(7000000u, ParseFrequencyHz("7."));
  EXPECT_EQ(500000u, ParseFrequencyHz(".5"));
  EXPECT_EQ(3580000u, ParseFrequencyHz(" 3.58 "));
  EXPECT_EQ(10368100000u, ParseFrequencyHz("10368.1"));
  for (const char* bad : {"", ".", "14,08", "-14.08", "+14", "1e3", "14.0.8", "fourteen", "1 4"}) {
    EXPECT_FALSE(ParseFrequencyHz(bad).has_value()) << "for '" << bad << "'";
  }
}

TEST(HostQsoTest, EveryKilohertzOfTheContestBandsIsExact) {
  // Read as binary floating point, many of these would land a hertz low.
  for (unsigned int khz = 1800; khz <= 29700; ++khz) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%03u", khz / 1000, khz % 1000);
    ASSERT_EQ(khz * 1000ull, ParseFrequencyHz(text)) << "for " << text;
  }
}

TEST(HostQsoTest, BandOfFrequencyFollowsTheAdifBandEdges) {
  EXPECT_EQ("160m", BandOfFrequency(1800000));
  EXPECT_EQ("80m", BandOfFrequency(3580000));
  EXPECT_EQ("40m", BandOfFrequency(7300000));
  EXPECT_EQ("30m", BandOfFrequency(10142000));
  EXPECT_EQ("20m", BandOfFrequency(14000000));
  EXPECT_EQ("20m", BandOfFrequency(14350000));
  EXPECT_EQ("", BandOfFrequency(14350001));
  EXPECT_EQ("17m", BandOfFrequency(18100000));
  EXPECT_EQ("15m", BandOfFrequency(21080000));
  EXPECT_EQ("12m", BandOfFrequency(24920000));
  EXPECT_EQ("10m", BandOfFrequency(28120000));
  EXPECT_EQ("6m", BandOfFrequency(50000000));
  EXPECT_EQ("2m", BandOfFrequency(144800000));
  EXPECT_EQ("70cm", BandOfFrequency(432000000));
  EXPECT_EQ("3cm", BandOfFrequency(10368000000ull));
  EXPECT_EQ("", BandOfFrequency(0));
}

TEST(HostQsoTest, ModesAsTheHostNamesThem) {
  struct Case {
    const char* mode;
    const char* submode;
    const char* host;
  };
  const Case cases[] = {
      {"PSK", "PSK31", "BPSK31"},
      {"psk", "psk63", "BPSK63"},
      {"PSK", "PSK125", "BPSK125"},
      {"PSK31", "", "BPSK31"},
      {"PSK63", "", "BPSK63"},
      {"PSK125", "", "BPSK125"},
      {"PSK", "QPSK31", "QPSK31"},
      {"PSK", "", "PSK"},
      {"HELL", "FMHELL", "HELL"},
      {"HELL", "HELL80", "HELL"},
      {"HELL", "", "HELL"},
      {"HELL80", "", "HELL"},
      {"MFSK", "MFSK16", "MFSK"},
      {"MFSK", "FT4", "MFSK"},
      {"MFSK16", "", "MFSK"},
      {"OLIVIA", "OLIVIA 8/500", "OLIVIA"},
      {"MT63", "", "MT63"},
      {"THRB", "", "THROB"},
      {"THRB", "THRBX", "THROB"},
      {"THRBX", "", "THROB"},
      {"THROB", "", "THROB"},
      {"RTTY", "ASCI", "RTTY"},
      {"SSTV", "", "SSTV"},
      {"CW", "", "CW"},
      {"cw", "", "CW"},
      {"SSB", "USB", "SSB"},
      {"FT8", "", "FT8"},
      {" rtty ", "", "RTTY"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.host, HostModeOfAdif(c.mode, c.submode)) << "for " << c.mode << "/" << c.submode;
  }
}

TEST(HostQsoTest, MapsEveryFieldTheHostPasses) {
  HostContact q;
  std::vector<AdifWarning> warnings;
  ASSERT_TRUE(MapRecord(Record({{"CALL", "dl1ab/p"},
                                {"QSO_DATE", "20160213"},
                                {"TIME_ON", "093015"},
                                {"BAND", "20M"},
                                {"FREQ", "14.08"},
                                {"MODE", "PSK"},
                                {"SUBMODE", "PSK63"},
                                {"RST_SENT", "599"},
                                {"RST_RCVD", "579"},
                                {"STX", "12"},
                                {"SRX", "034"},
                                {"NAME", "Hans"}}),
                        q, warnings));
  EXPECT_TRUE(warnings.empty()) << testing::PrintToString(Texts(warnings));
  EXPECT_EQ("DL1AB/P", q.call);
  EXPECT_EQ("20m", q.band);
  EXPECT_EQ(14080000u, q.hertz);
  EXPECT_EQ("BPSK63", q.mode);
  EXPECT_EQ("599", q.rstSent);
  EXPECT_EQ("579", q.rstRcvd);
  EXPECT_EQ("12", q.nrSent);
  EXPECT_EQ("034", q.nrRcvd);
  EXPECT_EQ("DL1", q.prefix);
  EXPECT_EQ(42413.0 + 34215.0 / 86400.0, q.time.m_dt);
  EXPECT_EQ(COleDateTime::valid, q.time.m_status);
}

TEST(HostQsoTest, SerialStringsPfxAndBandFromFrequency) {
  HostContact q;
  std::vector<AdifWarning> warnings;
  ASSERT_TRUE(MapRecord(Record({{"CALL", "N8BJQ"},
                                {"QSO_DATE", "20160214"},
                                {"TIME_ON", "2359"},
                                {"FREQ", "7.0401"},
                                {"MODE", "THRB"},
                                {"STX_STRING", "001A"},
                                {"SRX_STRING", "77"},
                                {"PFX", "kh9"}}),
                        q, warnings));
  EXPECT_TRUE(warnings.empty()) << testing::PrintToString(Texts(warnings));
  EXPECT_EQ("40m", q.band);
  EXPECT_EQ(7040100u, q.hertz);
  EXPECT_EQ("THROB", q.mode);
  EXPECT_EQ("001A", q.nrSent);
  EXPECT_EQ("77", q.nrRcvd);
  EXPECT_EQ("KH9", q.prefix) << "PFX wins over the prefix of the call";
  EXPECT_EQ(42414.0 + 86340.0 / 86400.0, q.time.m_dt);

  ASSERT_TRUE(MapRecord(Record({{"CALL", "N8BJQ"},
                                {"STX", "5"},
                                {"STX_STRING", "X"},
                                {"SRX", ""},
                                {"SRX_STRING", "9"},
                                {"BAND", "40m"},
                                {"QSO_DATE", "20160214"},
                                {"TIME_ON", "0000"},
                                {"MODE", "RTTY"}}),
                        q, warnings));
  EXPECT_EQ("5", q.nrSent) << "STX comes first";
  EXPECT_EQ("9", q.nrRcvd) << "an empty SRX leaves SRX_STRING";
  EXPECT_EQ(0u, q.hertz);
}

TEST(HostQsoTest, ARecordWithoutCallIsSkipped) {
  HostContact q;
  std::vector<AdifWarning> warnings;
  EXPECT_FALSE(MapRecord(Record({{"CALL", "  "}, {"BAND", "20m"}}), q, warnings));
  EXPECT_EQ((std::vector<std::string>{"record 3 (line 7): no CALL; the record is skipped"}),
            Texts(warnings));
}

TEST(HostQsoTest, FlawedFieldsAreWarnedAndTheRestIsUsed) {
  HostContact q;
  std::vector<AdifWarning> warnings;
  ASSERT_TRUE(MapRecord(Record({{"CALL", "K1AB"},
                                {"QSO_DATE", "2016-02-13"},
                                {"TIME_ON", "9:30"},
                                {"BAND", "40m"},
                                {"FREQ", "7,040"},
                                {"MODE", "RTTY"},
                                {"STX", "1"},
                                {"SRX", "2"}}),
                        q, warnings));
  EXPECT_EQ((std::vector<std::string>{
                "record 3 (line 7): FREQ '7,040' is not a number; no frequency is passed",
                "record 3 (line 7): QSO_DATE '2016-02-13' is not a date (YYYYMMDD); the time is "
                "passed as invalid"}),
            Texts(warnings));
  EXPECT_EQ("40m", q.band);
  EXPECT_EQ(0u, q.hertz);
  EXPECT_EQ(COleDateTime::invalid, q.time.m_status);
  EXPECT_EQ("RTTY", q.mode);

  warnings.clear();
  ASSERT_TRUE(MapRecord(Record({{"CALL", "K1AB"}, {"QSO_DATE", "20160213"}, {"TIME_ON", "2460"}}),
                        q, warnings));
  EXPECT_EQ((std::vector<std::string>{
                "record 3 (line 7): no BAND and no usable FREQ; the band is left empty",
                "record 3 (line 7): TIME_ON '2460' is not a time (HHMM or HHMMSS); 0000 is used",
                "record 3 (line 7): no MODE; an empty mode is passed"}),
            Texts(warnings));
  EXPECT_EQ("", q.band);
  EXPECT_EQ(42413.0, q.time.m_dt);
  EXPECT_EQ(COleDateTime::valid, q.time.m_status);

  warnings.clear();
  ASSERT_TRUE(MapRecord(Record({{"CALL", "K1AB"},
                                {"FREQ", "10368.1"},
                                {"MODE", "RTTY"},
                                {"QSO_DATE", "20160213"},
                                {"TIME_ON", "1200"}}),
                        q, warnings));
  EXPECT_EQ((std::vector<std::string>{"record 3 (line 7): FREQ 10368.1 MHz is beyond what the "
                                      "host passes in hertz; no frequency is passed"}),
            Texts(warnings));
  EXPECT_EQ(0u, q.hertz);
  EXPECT_EQ("3cm", q.band);

  warnings.clear();
  ASSERT_TRUE(MapRecord(Record({{"CALL", "K1AB"},
                                {"FREQ", "9.5"},
                                {"MODE", "RTTY"},
                                {"QSO_DATE", "20160213"},
                                {"TIME_ON", "1200"}}),
                        q, warnings));
  EXPECT_EQ((std::vector<std::string>{
                "record 3 (line 7): no BAND, and FREQ 9.5 MHz lies in no band; the band is left "
                "empty"}),
            Texts(warnings));
  EXPECT_EQ(9500000u, q.hertz);
}

TEST(HostQsoTest, AFreqOffTheBandOfBandFallsBackToBand) {
  struct Case {
    const char* band;
    const char* freq;
    unsigned int hertz;
    const char* warning;  // empty: none
  };
  const Case cases[] = {
      // Cloudlog 0.1 writes hertz; a satellite's downlink may lie on another band.
      {"20M", "14081011", 0,
       "FREQ 14081011 is a frequency in hertz, not in MHz as ADIF gives it; BAND 20m is used "
       "and no frequency is passed"},
      {"2m", "436804070", 0,
       "FREQ 436804070 is a frequency in hertz, not in MHz as ADIF gives it; BAND 2m is used "
       "and no frequency is passed"},
      {"20m", "7.04", 0,
       "FREQ 7.04 MHz lies outside BAND 20m; BAND is used and no frequency is passed"},
      {"20m", "14", 14000000, ""},
      {"20m", "0", 0, ""},
      // A band this reader does not know is not held against FREQ.
      {"hf", "14081011", 0,
       "FREQ 14081011 MHz is beyond what the host passes in hertz; no frequency is passed"},
  };
  for (const Case& c : cases) {
    HostContact q;
    std::vector<AdifWarning> warnings;
    ASSERT_TRUE(MapRecord(Record({{"CALL", "K1AB"},
                                  {"QSO_DATE", "20160213"},
                                  {"TIME_ON", "1200"},
                                  {"MODE", "RTTY"},
                                  {"BAND", c.band},
                                  {"FREQ", c.freq}}),
                          q, warnings));
    const std::string context = std::string(c.band) + " " + c.freq;
    EXPECT_EQ(c.hertz, q.hertz) << context;
    EXPECT_EQ(c.band == std::string("20M") ? "20m" : c.band, q.band) << context;
    std::vector<std::string> expected;
    if (c.warning[0] != '\0') {
      expected.push_back(std::string("record 3 (line 7): ") + c.warning);
    }
    EXPECT_EQ(expected, Texts(warnings)) << context;
  }
}

TEST(HostQsoTest, OwnCallIsStationCallsignThenOperator) {
  AdifLog log;
  log.records.push_back(Record({{"CALL", "K1AB"}, {"OPERATOR", "Q1OP"}}, 1));
  EXPECT_EQ("Q1OP", OwnCallOf(log));
  log.header.push_back(AdifField{"STATION_CALLSIGN", "q1hdr"});
  EXPECT_EQ("Q1HDR", OwnCallOf(log)) << "a header STATION_CALLSIGN beats any OPERATOR";
  log.records.push_back(Record({{"CALL", "K2CD"}, {"STATION_CALLSIGN", "Q1STA"}}, 2));
  EXPECT_EQ("Q1STA", OwnCallOf(log));
  EXPECT_EQ("", OwnCallOf(AdifLog()));
}

}  // namespace
