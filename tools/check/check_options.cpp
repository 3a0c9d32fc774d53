#include "tools/check/check_options.h"

#include <CLI/CLI.hpp>

#include "tools/common/contest_time.h"
#include "tools/check/submitted_log.h"

namespace {


bool DayInRange(const std::optional<long>& day) {
  return day && *day >= kFirstDay && *day <= kLastDay;
}

}  // namespace

std::optional<int> ParsePeriodEnd(const std::string& text, bool lastMinuteOfDay) {
  if (text.size() <= 10) {
    const std::optional<long> day = ParseOptionDate(text);
    if (!DayInRange(day)) {
      return std::nullopt;
    }
    return static_cast<int>(*day) * kMinutesPerDay + (lastMinuteOfDay ? kMinutesPerDay - 1 : 0);
  }
  const std::optional<long> day = DayNumberOfIsoDate(text.substr(0, 10));
  if (!DayInRange(day)) {
    return std::nullopt;
  }
  const std::optional<long> seconds =
      text.size() == 15 ? SecondsOfTime(text.substr(11)) : std::optional<long>();
  if (!day || !seconds || (text[10] != ' ' && text[10] != 'T')) {
    return std::nullopt;
  }
  return static_cast<int>(*day * kMinutesPerDay + *seconds / 60);
}

CommandLine ParseCheckOptions(const std::vector<std::string>& args, CheckOptions& out,
                              std::string& message) {
  out = CheckOptions();
  CLI::App app(
      "Cross-checks the submitted logs of the KOVA Brawlcup Digital Prefix Contest\n"
      "and writes the results, one UBN list per station, every claimed QSO's verdict\n"
      "and a results page.",
      "stats-check");
  app.footer(
      "Exit codes: 0 the results were written; 1 no folder held a usable submission,\n"
      "or the plug-in or the output folder could not be used (the output folder is\n"
      "then left as it was); 2 the command line could not be used.");
  std::string start;
  std::string end;
  app.add_option("--out", out.outDir, "folder the results are written to (made when missing)")
      ->type_name("DIR")
      ->required();
  app.add_option("--window", out.windowMinutes,
                 "time tolerance between the two halves of a QSO,\n0 to 1440 minutes")
      ->type_name("MINUTES")
      ->check(CLI::Range(0, kMinutesPerDay).description(""))
      ->capture_default_str();
  app.add_flag("--remove-uniques", out.removeUniques,
               "remove QSOs with a call no other log holds\n(default: kept and flagged)");
  app.add_flag("--private-ubn", out.privateUbn,
               "write the station pages and UBN lists into DIR-private\n"
               "beside DIR, to send each station its own, not into DIR");
  app.add_option("--start", start,
                 "contest start, YYYY-MM-DD or \"YYYY-MM-DD HHMM\"\n"
                 "(default: the dates the summary sheets state, two\nhours either side); earlier "
                 "QSO lines are not read")
      ->type_name("DATE");
  app.add_option("--end", end,
                 "contest end, YYYY-MM-DD (to its last minute) or\n"
                 "\"YYYY-MM-DD HHMM\" (default: as for --start); later\nQSO lines are not read")
      ->type_name("DATE");
  app.add_option("--plugin", out.pluginPath,
                 "the plug-in library that scores the logs (default:\nthe one beside this program)")
      ->type_name("PATH");
  app.add_option("SUBMISSION", out.submissions,
                 "a folder holding one station's per-mode logs and its\n.sum sheet")
      ->type_name("")
      ->required();
  const CommandLine result = ParseCommandLine(app, args, message);
  if (result != CommandLine::kRun) {
    return result;
  }
  if (!start.empty()) {
    out.startMinute = ParsePeriodEnd(start, false);
    if (!out.startMinute) {
      message = "--start: '" + start +
                "' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 to 2099";
      return CommandLine::kUnusable;
    }
  }
  if (!end.empty()) {
    out.endMinute = ParsePeriodEnd(end, true);
    if (!out.endMinute) {
      message =
          "--end: '" + end + "' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 to 2099";
      return CommandLine::kUnusable;
    }
  }
  if (out.startMinute && out.endMinute && *out.endMinute < *out.startMinute) {
    message = "--end lies before --start";
    return CommandLine::kUnusable;
  }
  return CommandLine::kRun;
}
