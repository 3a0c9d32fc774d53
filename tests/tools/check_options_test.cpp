#include "tools/check_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CheckOptionsTest, ReadsEveryOptionAndTheDefaults) {
  CheckOptions o;
  std::string message;
  ASSERT_EQ(
      CheckCommand::kRun,
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

  ASSERT_EQ(CheckCommand::kRun,
            ParseCheckOptions({"a", "--out", "res", "--end", "20160214"}, o, message));
  EXPECT_EQ(10, o.windowMinutes);
  EXPECT_FALSE(o.removeUniques);
  EXPECT_FALSE(o.startMinute.has_value());
  EXPECT_EQ(42414 * 1440 + 1439, o.endMinute.value_or(-1)) << "a day's end is its last minute";
  EXPECT_EQ("", o.pluginPath);
}

TEST(CheckOptionsTest, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> cases = {
      {"a"},
      {"--out", "res"},
      {"--out", "res", "--window", "-1", "a"},
      {"--out", "res", "--window", "ten", "a"},
      {"--out", "res", "--start", "13.02.2016", "a"},
      {"--out", "res", "--end", "2016-02-14 2400", "a"},
      {"--out", "res", "--start", "2016-02-14", "--end", "2016-02-13", "a"},
      {"--out", "res", "--fast", "a"},
  };
  for (const auto& args : cases) {
    CheckOptions o;
    std::string message;
    EXPECT_EQ(CheckCommand::kUnusable, ParseCheckOptions(args, o, message)) << args.size();
    EXPECT_FALSE(message.empty());
  }
  CheckOptions o;
  std::string help;
  EXPECT_EQ(CheckCommand::kHelp, ParseCheckOptions({"--help"}, o, help));
  EXPECT_NE(std::string::npos, help.find("--remove-uniques"));
}

}  // namespace
