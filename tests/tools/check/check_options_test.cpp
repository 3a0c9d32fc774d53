#include "tools/check/check_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CheckOptionsTest, ReadsEveryOptionAndTheDefaults) {
  CheckOptions o;
  std::string message;
  ASSERT_EQ(
      CommandLine::kRun,
      ParseCheckOptions({"--out", "res", "--window", "5", "--remove-uniques", "--start",
                         "2016-02-13", "--end", "2016-02-14 1200", "--plugin", "lib.so", "a", "b"},
                        o, message))
      << message;
  EXPECT_EQ("res", o.outDir);
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), o.submissions);
  EXPECT_EQ(5, o.windowMinutes);
  EXPECT_TRUE(o.removeUniques);
  EXPECT_EQ(42413 * 1440, o.startMinute.value_or(-1));
  EXPECT_EQ(42414 * 1440 + 12 * 60, o.endMinute.value_or(-1));
  EXPECT_EQ("lib.so", o.pluginPath);

  ASSERT_EQ(CommandLine::kRun,
            ParseCheckOptions({"a", "--out", "res", "--end", "20160214"}, o, message));
  EXPECT_EQ(10, o.windowMinutes);
  EXPECT_FALSE(o.removeUniques);
  EXPECT_FALSE(o.startMinute.has_value());
  EXPECT_EQ(42414 * 1440 + 1439, o.endMinute.value_or(-1)) << "a day's end is its last minute";
  EXPECT_EQ("", o.pluginPath);
}

TEST(CheckOptionsTest, RefusesWhatItCannotUse) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"a"}, "--out is required"},
      {{"--out", "res"}, "SUBMISSION is required"},
      {{"--out", "res", "--window", "-1", "a"}, "--window: Value -1 not in range 0 to 1440"},
      {{"--out", "res", "--window", "ten", "a"}, "--window: Value ten not in range 0 to 1440"},
      {{"--out", "res", "--start", "13.02.2016", "a"},
       "--start: '13.02.2016' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 to 2099"},
      {{"--out", "res", "--end", "2016-02-14 2400", "a"},
       "--end: '2016-02-14 2400' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 to "
       "2099"},
      // Far dates are refused, never wrapped around.
      {{"--out", "res", "--start", "9999-12-31", "a"},
       "--start: '9999-12-31' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 to 2099"},
      {{"--out", "res", "--end", "1899-12-31 0000", "a"},
       "--end: '1899-12-31 0000' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 to "
       "2099"},
      {{"--out", "res", "--start", "2016-02-14", "--end", "2016-02-13", "a"},
       "--end lies before --start"},
      {{"--out", "res", "--fast", "a"}, "unknown option --fast"},
  };
  for (const Case& c : cases) {
    CheckOptions o;
    std::string message;
    EXPECT_EQ(CommandLine::kUnusable, ParseCheckOptions(c.args, o, message))
        << testing::PrintToString(c.args);
    EXPECT_EQ(c.message, message) << testing::PrintToString(c.args);
  }
  CheckOptions o;
  std::string help;
  EXPECT_EQ(CommandLine::kHelp, ParseCheckOptions({"--help"}, o, help));
  EXPECT_NE(std::string::npos, help.find("--remove-uniques"));
}

}  // namespace
