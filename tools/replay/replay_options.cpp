#include "tools/replay/replay_options.h"

#include <CLI/CLI.hpp>
#include <array>
#include <string>

#include "tools/common/contest_time.h"

namespace {

// The check of a date option: CLI11 names the option in front of the reason.
CLI::Validator DateCheck() {
  return CLI::Validator(
      [](std::string& text) {
        return ParseOptionDate(text) ? std::string() : "'" + text + "' is not a date (YYYY-MM-DD)";
      },
      "");
}

}  // namespace

CommandLine ParseReplayOptions(const std::vector<std::string>& args, ReplayOptions& out,
                               std::string& message) {
  out = ReplayOptions();
  CLI::App app(
      "Replays an ADIF log through the contest plug-in as the logging program does\n"
      "and prints the plug-in's result text.",
      "stats-replay");
  app.footer(
      "Exit codes: 0 the log was played (even with warnings); 1 the log or the\n"
      "plug-in could not be used, or a report file or the Cabrillo log was not\n"
      "written; 2 the command line could not be used.");
  std::string call;
  std::string start;
  std::string end;
  std::vector<std::array<std::string, 4>> checks;
  app.add_option("LOG", out.logPath, "the ADIF log to replay")->type_name("")->required();
  app.add_option("--plugin", out.pluginPath,
                 "the plug-in library (default: the one beside this\nprogram)")
      ->type_name("PATH");
  app.add_option("--call", call,
                 "own callsign (default: the log's STATION_CALLSIGN,\nthen OPERATOR)")
      ->type_name("CALL");
  app.add_option("--start", start, "contest start, YYYY-MM-DD (default: the first QSO date)")
      ->type_name("DATE")
      ->check(DateCheck());
  app.add_option("--end", end, "contest end, YYYY-MM-DD (default: the last QSO date)")
      ->type_name("DATE")
      ->check(DateCheck());
  app.add_flag("--report", out.report,
               "a report run: the plug-in writes its per-mode logs and\n"
               "summary sheet (and its settings below Plugins)");
  app.add_flag("--summary", out.summary,
               "after the counts line, a table of what became of the\n"
               "records: read, played, stored, refused by reason,\n"
               "skipped, and the warnings by kind");
  app.add_option("--out", out.outDir,
                 "the folder the plug-in writes in (default: the\ncurrent one)")
      ->type_name("DIR");
  app.add_option("--cabrillo", out.cabrilloPath,
                 "also write the log as one Cabrillo 3.0 file for\n"
                 "submission, its header from the plug-in's header\nsettings")
      ->type_name("FILE");
  app.add_option("--check", checks,
                 "after the replay, print the plug-in's answer for\nthis call; may be repeated")
      ->type_name("CALL BAND MODE PREFIX")
      ->allow_extra_args(false);

  const CommandLine result = ParseCommandLine(app, args, message);
  if (result != CommandLine::kRun) {
    return result;
  }
  if (app.count("--call") > 0) {
    out.ownCall = call;
  }
  if (app.count("--cabrillo") > 0 && out.cabrilloPath.empty()) {
    message = "--cabrillo needs a file name";
    return CommandLine::kUnusable;
  }
  if (!start.empty()) {
    out.startDay = ParseOptionDate(start);
  }
  if (!end.empty()) {
    out.endDay = ParseOptionDate(end);
  }
  if (out.startDay && out.endDay && *out.endDay < *out.startDay) {
    message = "--end lies before --start";
    return CommandLine::kUnusable;
  }
  for (const auto& [checkCall, band, mode, prefix] : checks) {
    out.checks.push_back(CallCheck{checkCall, band, mode, prefix});
  }
  return CommandLine::kRun;
}
