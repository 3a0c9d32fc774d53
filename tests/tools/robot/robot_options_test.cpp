#include "robot_options.h"

#include <gtest/gtest.h>

#include "tools/check/check_options.h"

namespace {

CommandLine Parse(std::vector<std::string> args, RobotOptions& out, std::string& message) {
  return ParseRobotOptions(args, out, message);
}

TEST(RobotOptionsTest, ReadsTheServerAndItsCommands) {
  RobotOptions o;
  std::string message;
  ASSERT_EQ(CommandLine::kRun,
            Parse({"--data", "d", "--listen", "[::1]:0", "--start", "2016-02-13", "--end",
                   "2016-02-14", "--deadline", "2016-02-21 1200"},
                  o, message))
      << message;
  EXPECT_EQ(RobotOptions::Command::kServe, o.command);
  EXPECT_EQ("::1", o.host);
  EXPECT_EQ(0, o.port);
  EXPECT_EQ(ParsePeriodEnd("2016-02-14 2359", false), o.endMinute);
  EXPECT_EQ(ParsePeriodEnd("2016-02-21 1200", false), o.deadlineMinute);

  ASSERT_EQ(CommandLine::kRun, Parse({"--data", "d", "export", "out"}, o, message));
  EXPECT_EQ(RobotOptions::Command::kExport, o.command);
  EXPECT_EQ("out", o.exportDir);
  ASSERT_EQ(CommandLine::kRun, Parse({"--data", "d", "set-password"}, o, message));
  EXPECT_EQ(RobotOptions::Command::kSetPassword, o.command);
  EXPECT_EQ("127.0.0.1", o.host);
  EXPECT_EQ(8080, o.port);
}

TEST(RobotOptionsTest, RefusesWhatItCannotUseWithTheReason) {
  RobotOptions o;
  std::string message;
  EXPECT_EQ(CommandLine::kUnusable, Parse({"--data", "d", "--listen", "8080"}, o, message));
  EXPECT_EQ("--listen: '8080' is not HOST:PORT", message);
  EXPECT_EQ(CommandLine::kUnusable, Parse({"--data", "d", "--listen", "h:70000"}, o, message));
  EXPECT_EQ(CommandLine::kUnusable,
            Parse({"--data", "d", "--deadline", "2016-02-30 1200"}, o, message));
  EXPECT_EQ(
      "--deadline: '2016-02-30 1200' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 "
      "to 2099",
      message);
  EXPECT_EQ(CommandLine::kUnusable, Parse({"--data", "d", "export"}, o, message));
  EXPECT_EQ("export: the folder to write into is missing", message);
  EXPECT_EQ(CommandLine::kUnusable, Parse({"--data", "d", "serve"}, o, message));
  EXPECT_EQ("unexpected argument serve", message);
  EXPECT_EQ(CommandLine::kUnusable, Parse({"set-password"}, o, message));
}

}  // namespace
