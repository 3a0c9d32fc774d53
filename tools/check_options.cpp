#include "tools/check_options.h"

#include <CLI/CLI.hpp>

#include "tools/host_qso.h"
#include "tools/replay_options.h"

namespace {

constexpr int kMinutesPerDay = 1440;

// "YYYY-MM-DD" (the day's first or last minute) or "YYYY-MM-DD HHMM".
std::optional<int> ParsePeriodEnd(const std::string& text, bool lastMinuteOfDay) {
  if (text.size() <= 10) {
    const std::optional<long> day = ParseOptionDate(text);
    if (!day) {
      return std::nullopt;
    }
    return static_cast<int>(*day) * kMinutesPerDay + (lastMinuteOfDay ? kMinutesPerDay - 1 : 0);
  }
  const std::optional<long> day = DayNumberOfIsoDate(text.substr(0, 10));
  const std::optional<long> seconds =
      text.size() == 15 ? SecondsOfTime(text.substr(11)) : std::optional<long>();
  if (!day || !seconds || (text[10] != ' ' && text[10] != 'T')) {
    return std::nullopt;
  }
  return static_cast<int>(*day * kMinutesPerDay + *seconds / 60);
}

}  // namespace

CheckCommand ParseCheckOptions(const std::vector<std::string>& args, CheckOptions& out,
                               std::string& message) {
  out = CheckOptions();
  CLI::App app(
      "Cross-checks the submitted logs of the KOVA Brawlcup Digital Prefix Contest and writes "
      "the results, one UBN list per station, every claimed QSO's verdict and a results page.",
      "stats-check");
  std::string start;
  std::string end;
  app.add_option("--out", out.outDir, "folder the results are written to (made when missing)")
      ->required();
  app.add_option("--window", out.windowMinutes,
                 "time tolerance between the two halves of a QSO, in minutes")
      ->check(CLI::Range(0, kMinutesPerDay))
      ->capture_default_str();
  app.add_flag("--remove-uniques", out.removeUniques,
               "remove QSOs with a call no other log holds (default: kept and flagged)");
  app.add_option("--start", start,
                 "contest start, YYYY-MM-DD or \"YYYY-MM-DD HHMM\" (default: from the logs); "
                 "earlier QSO lines are not read");
  app.add_option("--end", end,
                 "contest end, YYYY-MM-DD (to its last minute) or \"YYYY-MM-DD HHMM\" "
                 "(default: from the logs); later QSO lines are not read");
  app.add_option("--plugin", out.pluginPath,
                 "the plug-in library that scores the logs (default: the one beside this "
                 "program)");
  app.add_option("SUBMISSION", out.submissions,
                 "a folder holding one station's per-mode logs and its .sum sheet")
      ->required();
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    message = app.help();
    return CheckCommand::kHelp;
  } catch (const CLI::ParseError& e) {
    message = e.what();
    return CheckCommand::kUnusable;
  }
  if (!start.empty()) {
    out.startMinute = ParsePeriodEnd(start, false);
    if (!out.startMinute) {
      message = "--start: '" + start + "' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\"";
      return CheckCommand::kUnusable;
    }
  }
  if (!end.empty()) {
    out.endMinute = ParsePeriodEnd(end, true);
    if (!out.endMinute) {
      message = "--end: '" + end + "' is not YYYY-MM-DD or \"YYYY-MM-DD HHMM\"";
      return CheckCommand::kUnusable;
    }
  }
  if (out.startMinute && out.endMinute && *out.endMinute < *out.startMinute) {
    message = "--end lies before --start";
    return CheckCommand::kUnusable;
  }
  return CheckCommand::kRun;
}
