#include "tools/cabrillo_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/cabrillo_log.h"

namespace {

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
