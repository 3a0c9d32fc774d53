#include "tools/replay/stored_header.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/replay/cabrillo_log.h"

namespace {

class StoredHeaderTest : public ::testing::Test {
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

TEST_F(StoredHeaderTest, NoFileGivesTheFormsDefaults) {
  const CabrilloHeader s = ReadStoredHeader(Settings(path_), "Q1OWN");
  EXPECT_EQ("Q1OWN", s.m_callsign);
  EXPECT_EQ("Q1OWN", s.m_operators);
  EXPECT_EQ("DX", s.m_location);
  for (const std::string* empty :
       {&s.m_name, &s.m_address, &s.m_addressCity, &s.m_addressState, &s.m_addressPostalCode,
        &s.m_addressCountry, &s.m_email, &s.m_club, &s.m_soapbox, &s.m_claimed}) {
    EXPECT_EQ("", *empty);
  }
}

TEST_F(StoredHeaderTest, ValuesAsTheFormStoredThem) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << "[Settings]\r\nStart=0\r\nClaimed=11240\r\nOperators=Q1OWN Q1OPA\r\nName=Ana\r\n"
           "Address=Main St 1<CR>Flat 2\r\nAddress-City=Town\r\nAddress-State=ST\r\n"
           "Address-PostalCode=12345\r\nAddress-Country=Land\r\nContest=KOVA-BRAWLCUP \r\n"
           "Email=a@b.c\r\nClub=Club\r\nLocation=ON\r\nSoapBox=abc<CR><LF>def\r\n"
           "[Other]\r\nName=not this\r\n";
  }
  const CabrilloHeader s = ReadStoredHeader(Settings(path_), "Q1OWN");
  EXPECT_EQ("Q1OWN Q1OPA", s.m_operators);
  EXPECT_EQ("Ana", s.m_name);
  EXPECT_EQ("Main St 1<CR>Flat 2", s.m_address);
  EXPECT_EQ("Town", s.m_addressCity);
  EXPECT_EQ("ST", s.m_addressState);
  EXPECT_EQ("12345", s.m_addressPostalCode);
  EXPECT_EQ("Land", s.m_addressCountry);
  EXPECT_EQ("a@b.c", s.m_email);
  EXPECT_EQ("Club", s.m_club);
  EXPECT_EQ("ON", s.m_location);
  EXPECT_EQ("abc<CR><LF>def", s.m_soapbox);
  EXPECT_EQ("11240", s.m_claimed);

  CabrilloLogInput in;
  in.header = s;
  std::vector<std::string> notes;
  const std::string bytes = FormatCabrilloLog(in, notes).bytes;
  EXPECT_NE(std::string::npos,
            bytes.find("\r\nADDRESS: Main St 1\r\nADDRESS: Flat 2\r\nADDRESS-CITY: Town\r\n"
                       "ADDRESS-STATE-PROVINCE: ST\r\nADDRESS-POSTALCODE: 12345\r\n"
                       "ADDRESS-COUNTRY: Land\r\nSOAPBOX: abc\r\nSOAPBOX: def\r\n"))
      << bytes;
  EXPECT_NE(std::string::npos, bytes.find("\r\nLOCATION: ON\r\n")) << bytes;
}

TEST_F(StoredHeaderTest, ALongValueReadsAsThePluginReadsIt) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << "[Settings]\r\nSoapBox=" << std::string(150, 'a') << "\r\n";
  }
  EXPECT_EQ(std::string(99, 'a'), ReadStoredHeader(Settings(path_), "Q1OWN").m_soapbox);
}

}  // namespace
