// stats-check: the sponsor's log checker. Reads every station's submission
// (its per-mode logs and summary sheet), gives each claimed QSO line a verdict
// from the other logs, scores each station's kept QSOs through the plug-in
// library, and writes the results, the UBN lists, the verdicts and the results
// page into the --out folder. Everything it has to say goes to stderr; bad
// input is reported with its file and line and never stops the run.
//
// Exit codes: 0 results written, 1 no usable submission, or the plug-in or
// the output folder could not be used (the output folder is then left as it
// was), 2 the command line could not be used.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "platform/program.h"
#include "platform/text.h"
#include "tools/check/check_options.h"
#include "tools/check/check_results.h"
#include "tools/check/check_contacts.h"
#include "tools/check/check_scoring.h"
#include "tools/check/contest_logs.h"
#include "tools/common/host_contact.h"
#include "tools/common/contest_time.h"
#include "tools/check/log_matcher.h"
#include "tools/check/progress_line.h"
#include "tools/check/results_folder.h"
#include "tools/check/results_page.h"
#include "tools/check/shown_text.h"
#include "tools/check/submitted_log.h"
#include "tools/common/wpx_prefix.h"
#include "tools/common/write_whole_file.h"

#ifndef STATS_PLUGIN_FILE_NAME
#error "the build names the plug-in's file"
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kProgram[] = "stats-check";
constexpr std::size_t kShownPerFolder = 10;
// Lines this far outside the days the summary sheets state are still read: a
// station whose clock is off logs its first and last QSOs there.
constexpr int kClockMargin = 120;

enum ExitCode { kWritten = 0, kUnusable = 1, kBadCommandLine = 2 };

// Every line is made safe for the terminal: what a log holds never reaches
// it as an escape sequence.
void Say(ProgressLine& progress, const std::string& line) {
  progress.Clear();
  std::fprintf(stderr, "%s: %s\n", kProgram, ShownText(line, 2000).c_str());
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Seconds(double s) { return FormatText("%.1f s", s); }

// The files of the results are replaced whole, so a reader never finds one
// half-written. They can be made again from the logs: flushing each of
// thousands to the disk would only slow the run.
constexpr Durability kResultsDurability = Durability::kWritten;

// False, with a sentence naming the file in `error`, when it cannot be written.
bool WriteFile(const fs::path& path, const std::string& bytes, std::string& error) {
  std::string reason;
  if (!SaveWholeFile(path.string(), bytes, kResultsDurability, reason)) {
    error = "cannot write " + path.string() + ": " + reason;
    return false;
  }
  return true;
}

// What was not used of the folders, on the terminal: a few lines per folder,
// the rest in the station's report.
void ReportFolders(ProgressLine& progress, const ContestLogs& logs) {
  for (const Station& station : logs.stations) {
    std::vector<std::string> lines = station.messages;
    for (const UnreadLine& u : station.unread) {
      if (lines.size() > kShownPerFolder) {
        break;
      }
      lines.push_back(
          ShownText(
              (fs::path(station.folder) / station.files[static_cast<std::size_t>(u.file)]).string(),
              300) +
          ":" + std::to_string(u.line) + ": " + u.reason + "; not read");
    }
    const std::size_t all = station.messages.size() + station.unread.size() + station.unreadMore;
    for (std::size_t i = 0; i < lines.size() && i < kShownPerFolder; ++i) {
      Say(progress, lines[i]);
    }
    if (all > kShownPerFolder) {
      Say(progress, ShownText(station.folder, 300) + ": " + std::to_string(all - kShownPerFolder) +
                        " more lines or files not read (listed in " + UbnFileName(station) + ")");
    }
  }
  for (const UnusedFolder& unused : logs.unused) {
    Say(progress, unused.folder + ": " + unused.reason + "; not used");
    for (std::size_t i = 0; i < unused.messages.size() && i + 1 < kShownPerFolder; ++i) {
      Say(progress, unused.messages[i]);
    }
    if (unused.messages.size() + 1 > kShownPerFolder) {
      Say(progress, unused.folder + ": " +
                        std::to_string(unused.messages.size() + 1 - kShownPerFolder) +
                        " more files not read (listed in not-used.txt)");
    }
  }
}

// The contest period: as the command line gives it, else the days most
// summary sheets state (widened for clocks that are off), else all dates.
void ChoosePeriod(const CheckOptions& options, const ContestLogs& logs, CheckSettings& settings) {
  settings.startMinute = options.startMinute;
  settings.endMinute = options.endMinute;
  const std::optional<SheetPeriod> sheets = PeriodOfSheets(logs);
  const bool fromSheets = sheets && (!options.startMinute || !options.endMinute);
  if (fromSheets && !settings.startMinute) {
    settings.startMinute = static_cast<int>(sheets->firstDay * kMinutesPerDay) - kClockMargin;
  }
  if (fromSheets && !settings.endMinute) {
    settings.endMinute =
        static_cast<int>(sheets->lastDay * kMinutesPerDay) + kMinutesPerDay - 1 + kClockMargin;
  }
  if (options.startMinute && options.endMinute) {
    settings.periodSource = "from the command line";
  } else if (fromSheets) {
    settings.periodSource =
        "the dates the summary sheets of " + std::to_string(sheets->sheets) + " of " +
        std::to_string(logs.stations.size()) + " stations state, " +
        std::to_string(kClockMargin / 60) + " hours either side" +
        (options.startMinute || options.endMinute ? "; the command line's end" : "");
  } else if (options.startMinute || options.endMinute) {
    settings.periodSource = "from the command line";
  } else {
    settings.periodSource = "no period given and no summary sheet states one";
  }
}

// Scores every station: checked from its kept QSOs, claimed from its summary
// sheet or else from all its lines.
bool ScoreStations(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                   const CheckSettings& settings, const std::string& pluginPath,
                   ProgressLine& progress, std::vector<StationResult>& results,
                   std::string& error) {
  CheckScoring scoring;
  if (!scoring.Open(pluginPath, error)) {
    return false;
  }
  const COleDateTime start = HostDateTime(logs.firstMinute / kMinutesPerDay);
  const COleDateTime end = HostDateTime(logs.lastMinute / kMinutesPerDay);
  HostQsos host(logs);
  results.assign(logs.stations.size(), StationResult());
  for (std::size_t s = 0; s < logs.stations.size(); ++s) {
    const Station& station = logs.stations[s];
    StationResult& r = results[s];
    r.station = static_cast<int>(s);
    const auto checked =
        scoring.Score(station.call, host.Of(station, &verdicts, settings), start, end);
    if (!checked) {
      error = "the plug-in's result text for " + station.call + " holds no score table";
      return false;
    }
    r.checked = *checked;
    if (station.sheet) {
      r.claimed = *station.sheet;
      r.claimedFromSheet = true;
      r.claimFault = ClaimFault(r.claimed);
    } else if (const auto claimed =
                   scoring.Score(station.call, host.Of(station, nullptr, settings), start, end)) {
      r.claimed = *claimed;
    }
    progress.Show("scoring: " + std::to_string(s + 1) + " of " +
                  std::to_string(logs.stations.size()) + " stations");
  }
  return true;
}

bool WriteResults(const ResultsFolder& folder, bool privateUbn, const ContestLogs& logs,
                  const std::vector<LineVerdict>& verdicts,
                  const std::vector<StationResult>& ranked, const CheckSettings& settings,
                  ProgressLine& progress, std::string& error) {
  const fs::path out = folder.Public();
  if (!WriteFile(out / "results.txt", ResultsText(logs, ranked, settings), error) ||
      !WriteFile(out / "results.csv", ResultsCsv(logs, ranked), error)) {
    return false;
  }
  // Two million lines are written as they are made, a few megabytes at a time.
  const fs::path tsvPath = out / "verdicts.tsv";
  WholeFileWriter tsv(tsvPath.string(), kResultsDurability);
  std::string lines;
  for (std::size_t s = 0; s < logs.stations.size(); ++s) {
    AppendVerdictLines(logs, verdicts, static_cast<int>(s), settings, lines);
    if (lines.size() > (4u << 20)) {
      tsv.Write(lines);
      lines.clear();
    }
  }
  tsv.Write(lines);
  std::string reason;
  if (!CommitWholeFile(tsv, reason)) {
    error = "cannot write " + tsvPath.string() + ": " + reason;
    return false;
  }
  const fs::path reports = privateUbn ? folder.Private() : out;
  std::error_code ec;
  fs::create_directories(reports / "stations", ec);
  const int stationCount = static_cast<int>(ranked.size());
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const Station& station = logs.stations[static_cast<std::size_t>(ranked[i].station)];
    if (!WriteFile(reports / UbnFileName(station),
                   UbnText(logs, verdicts, ranked[i], stationCount, settings), error) ||
        !WriteFile(reports / StationPagePath(station),
                   StationPage(logs, verdicts, ranked[i], stationCount, settings, !privateUbn),
                   error)) {
      return false;
    }
    progress.Show("writing: " + std::to_string(i + 1) + " of " + std::to_string(stationCount) +
                  " station reports");
  }
  if (!logs.unused.empty()) {
    std::string text;
    for (const UnusedFolder& unused : logs.unused) {
      text += unused.folder + ": " + unused.reason + "; not used\n";
      for (const std::string& message : unused.messages) {
        text += "  " + message + "\n";
      }
    }
    if (!WriteFile(out / "not-used.txt", text, error)) {
      return false;
    }
  }
  return WriteFile(out / "logs.html", LogsPage(logs, ranked, !privateUbn), error) &&
         WriteFile(out / "index.html", ResultsPage(logs, verdicts, ranked, settings, !privateUbn),
                   error);
}

// Reads every folder given into one contest.
ContestLogs ReadContest(const CheckOptions& options, ProgressLine& progress) {
  TextPool texts;
  std::vector<SubmittedLog> submissions;
  std::size_t lines = 0;
  for (const std::string& folder : options.submissions) {
    submissions.push_back(ReadSubmission(folder, texts));
    lines += submissions.back().qsos.size();
    progress.Show("reading: " + std::to_string(submissions.size()) + " of " +
                  std::to_string(options.submissions.size()) + " folders, " +
                  std::to_string(lines) + " QSO lines");
  }
  ContestLogs logs = AssembleContest(std::move(submissions), std::move(texts));
  ReportFolders(progress, logs);
  return logs;
}

// The run's settings: the options and the contest period, whose lines alone
// are kept (each station that loses some is told).
CheckSettings SettingsKeepingPeriod(const CheckOptions& options, ContestLogs& logs,
                                    ProgressLine& progress) {
  CheckSettings settings;
  settings.windowMinutes = options.windowMinutes;
  settings.removeUniques = options.removeUniques;
  ChoosePeriod(options, logs, settings);
  const std::vector<std::size_t> dropped =
      KeepContestPeriod(logs, settings.startMinute, settings.endMinute);
  for (std::size_t s = 0; s < logs.stations.size(); ++s) {
    if (dropped[s] > 0) {
      Say(progress, logs.stations[s].call + ": " + std::to_string(dropped[s]) +
                        " QSO lines outside the contest period not read (listed in " +
                        UbnFileName(logs.stations[s]) + ")");
    }
  }
  Say(progress, "contest period: " + PeriodText(settings));
  return settings;
}

// What the results show beside the scores: the verdicts counted, the clocks
// that look off, places overall and in each category.
void RankResults(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                 std::vector<StationResult>& results) {
  CountVerdicts(logs, verdicts, results);
  for (StationResult& r : results) {
    r.clockMinutes = ClockOffset(logs, verdicts, r.station);
  }
  RankStations(logs, results);
  PlaceInCategories(logs, results);
}

int Check(const CheckOptions& options) {
  const Clock::time_point begin = Clock::now();
  ProgressLine progress;
  std::error_code ec;
  const std::string pluginPath = options.pluginPath.empty()
                                     ? ExecutableFolder() + STATS_PLUGIN_FILE_NAME
                                     : fs::absolute(options.pluginPath, ec).string();

  ContestLogs logs = ReadContest(options, progress);
  if (logs.stations.empty()) {
    Say(progress, "none of the " + std::to_string(options.submissions.size()) +
                      " folders given holds a usable submission; " + options.outDir +
                      " is left as it was");
    return kUnusable;
  }
  const CheckSettings settings = SettingsKeepingPeriod(options, logs, progress);
  if (logs.qsos.empty()) {
    Say(progress,
        "no QSO line lies in the contest period; " + options.outDir + " is left as it was");
    return kUnusable;
  }
  ResultsFolder folder;
  std::string error;
  if (!folder.Begin(options.outDir, error)) {
    Say(progress, error);
    return kUnusable;
  }
  const double readSeconds = SecondsSince(begin);

  Clock::time_point step = Clock::now();
  progress.Show("matching " + std::to_string(logs.qsos.size()) + " QSO lines");
  const std::vector<LineVerdict> verdicts = MatchLogs(logs, options.windowMinutes);
  const double matchSeconds = SecondsSince(step);

  step = Clock::now();
  std::vector<StationResult> results;
  if (!ScoreStations(logs, verdicts, settings, pluginPath, progress, results, error)) {
    Say(progress, error);
    return kUnusable;
  }
  const double scoreSeconds = SecondsSince(step);

  step = Clock::now();
  RankResults(logs, verdicts, results);
  if (!WriteResults(folder, options.privateUbn, logs, verdicts, results, settings, progress,
                    error) ||
      !folder.Publish(error)) {
    Say(progress, error + "; " + options.outDir + " is left as it was");
    return kUnusable;
  }
  const double writeSeconds = SecondsSince(step);

  Say(progress, std::to_string(logs.stations.size()) + " stations, " +
                    std::to_string(logs.qsos.size()) + " QSO lines checked in " +
                    Seconds(SecondsSince(begin)) + " (reading " + Seconds(readSeconds) +
                    ", matching " + Seconds(matchSeconds) + ", scoring " + Seconds(scoreSeconds) +
                    ", writing " + Seconds(writeSeconds) + "); results in " +
                    fs::absolute(options.outDir, ec).string());
  return kWritten;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    CheckOptions options;
    std::string message;
    switch (ParseCheckOptions(std::vector<std::string>(argv + 1, argv + argc), options, message)) {
      case CommandLine::kHelp:
        std::fputs(message.c_str(), stdout);
        return kWritten;
      case CommandLine::kUnusable:
        std::fprintf(stderr, "%s: %s (see %s --help)\n", kProgram, message.c_str(), kProgram);
        return kBadCommandLine;
      case CommandLine::kRun:
        break;
    }
    return Check(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
    return kUnusable;
  }
}
