#include "tools/replay/replay_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ReplayOptionsTest, ReadsEveryOption) {
  ReplayOptions o;
  std::string error;
  const std::vector<std::string> args = {"--plugin", "lib/libStats.so",
                                         "--call",   "Q1OWN",
                                         "--start",  "2016-02-13",
                                         "--end",    "20160214",
                                         "--report", "--out",
                                         "rep",      "log.adi",
                                         "--check",  "DL1AB",
                                         "20m",      "RTTY",
                                         "DL1",      "--check",
                                         "K1X",      "40m",
                                         "HELL",     "K1"};
  ASSERT_EQ(CommandLine::kRun, ParseReplayOptions(args, o, error)) << error;
  EXPECT_EQ("log.adi", o.logPath);
  EXPECT_EQ("lib/libStats.so", o.pluginPath);
  EXPECT_EQ("Q1OWN", o.ownCall.value_or("<none>"));
  EXPECT_EQ(42413, o.startDay.value_or(-1));
  EXPECT_EQ(42414, o.endDay.value_or(-1));
  EXPECT_TRUE(o.report);
  EXPECT_EQ("rep", o.outDir);
  ASSERT_EQ(2u, o.checks.size());
  EXPECT_EQ("DL1AB", o.checks[0].call);
  EXPECT_EQ("20m", o.checks[0].band);
  EXPECT_EQ("RTTY", o.checks[0].mode);
  EXPECT_EQ("DL1", o.checks[0].prefix);
  EXPECT_EQ("K1", o.checks[1].prefix);
}

TEST(ReplayOptionsTest, DefaultsLeaveTheChoiceToTheLog) {
  ReplayOptions o;
  std::string error;
  ASSERT_EQ(CommandLine::kRun, ParseReplayOptions({"log.adi"}, o, error)) << error;
  EXPECT_EQ("", o.pluginPath);
  EXPECT_FALSE(o.ownCall.has_value());
  EXPECT_FALSE(o.startDay.has_value());
  EXPECT_FALSE(o.endDay.has_value());
  EXPECT_FALSE(o.report);
  EXPECT_TRUE(o.checks.empty());

  // A path from the root is a path on every system, Windows included.
  ReplayOptions rooted;
  ASSERT_EQ(CommandLine::kRun,
            ParseReplayOptions({"/logs/contest.adi", "--out", "/tmp/work"}, rooted, error))
      << error;
  EXPECT_EQ("/logs/contest.adi", rooted.logPath);
  EXPECT_EQ("/tmp/work", rooted.outDir);
}

TEST(ReplayOptionsTest, UnusableCommandLines) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const Case cases[] = {
      {{}, "LOG is required"},
      {{"--report"}, "LOG is required"},
      {{"a.adi", "b.adi"}, "unexpected argument b.adi"},
      {{"a.adi", "--frobnicate"}, "unknown option --frobnicate"},
      {{"a.adi", "--plugin"}, "--plugin: 1 required PATH missing"},
      {{"a.adi", "--check", "DL1AB", "20m", "RTTY"},
       "--check: 4 required CALL BAND MODE PREFIX missing"},
      {{"a.adi", "--check", "DL1AB", "20m", "RTTY", "DL1", "K1X"}, "unexpected argument K1X"},
      {{"a.adi", "--start", "13.02.2016"}, "--start: '13.02.2016' is not a date (YYYY-MM-DD)"},
      {{"a.adi", "--end", "2016-02-30"}, "--end: '2016-02-30' is not a date (YYYY-MM-DD)"},
      {{"a.adi", "--start", "2016-02-14", "--end", "2016-02-13"}, "--end lies before --start"},
  };
  for (const Case& c : cases) {
    ReplayOptions o;
    std::string error;
    EXPECT_EQ(CommandLine::kUnusable, ParseReplayOptions(c.args, o, error))
        << testing::PrintToString(c.args);
    EXPECT_EQ(c.error, error) << testing::PrintToString(c.args);
  }
}

TEST(ReplayOptionsTest, HelpNeedsNoLog) {
  ReplayOptions o;
  std::string help;
  for (const char* asked : {"--help", "-h"}) {
    ASSERT_EQ(CommandLine::kHelp, ParseReplayOptions({asked}, o, help)) << asked;
    EXPECT_NE(std::string::npos, help.find("--check CALL BAND MODE PREFIX")) << help;
    EXPECT_NE(std::string::npos, help.find("Exit codes:")) << help;
  }
}

}  // namespace

namespace {

TEST(ReplayOptionsTest, CabrilloLogFile) {
  ReplayOptions o;
  std::string error;
  ASSERT_EQ(CommandLine::kRun,
            ParseReplayOptions({"log.adi", "--cabrillo", "Q1OWN.log", "--report"}, o, error))
      << error;
  EXPECT_EQ("Q1OWN.log", o.cabrilloPath);
  EXPECT_TRUE(o.report);
  ASSERT_EQ(CommandLine::kRun, ParseReplayOptions({"log.adi"}, o, error)) << error;
  EXPECT_EQ("", o.cabrilloPath) << "no Cabrillo log unless asked for";
  EXPECT_EQ(CommandLine::kUnusable, ParseReplayOptions({"log.adi", "--cabrillo"}, o, error));
  EXPECT_EQ("--cabrillo: 1 required FILE missing", error);
  EXPECT_EQ(CommandLine::kUnusable, ParseReplayOptions({"log.adi", "--cabrillo", ""}, o, error));
  EXPECT_EQ("--cabrillo needs a file name", error);
}

}  // namespace
