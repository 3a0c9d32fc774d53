#include "tools/common/plugin_files.h"

#include <gtest/gtest.h>

namespace {

TEST(PluginFilesTest, NamesThePluginWritesIgnoringCase) {
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

}  // namespace
