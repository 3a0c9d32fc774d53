// stats-replay: plays the host with an ADIF log. It loads the plug-in library
// the way the host does, makes one statistics pass over the log (reset, one
// AddData0 per QSO, the result) and prints the plug-in's result text on stdout.
// Everything the program itself has to say goes to stderr.
//
// With --cabrillo it also writes the log as one Cabrillo 3.0 file, after the
// plug-in has had its say; the plug-in's own files are the same either way.
//
// Exit codes: 0 the log was played (even with warnings), 1 the log or the
// plug-in could not be used, a report file or the Cabrillo log not written, 2
// the command line could not be used. One thread.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "contest/call_answers.h"
#include "contest/settings.h"
#include "platform/program.h"
#include "tools/replay/cabrillo_log.h"
#include "tools/replay/claimed_score.h"
#include "tools/replay/host_qso.h"
#include "tools/common/plugin_files.h"
#include "tools/common/plugin_session.h"
#include "tools/common/write_whole_file.h"
#include "tools/replay/replay_log.h"
#include "tools/replay/replay_options.h"
#include "tools/replay/replay_summary.h"
#include "tools/replay/stored_header.h"

#ifndef STATS_PLUGIN_FILE_NAME
#error "the build names the plug-in's file"
#endif
#ifndef STATS_VERSION
#error "the build gives the version"
#endif

namespace {

constexpr char kProgram[] = "stats-replay";

enum ExitCode { kPlayed = 0, kUnusable = 1, kBadCommandLine = 2 };

void Say(const std::string& line) { std::fprintf(stderr, "%s: %s\n", kProgram, line.c_str()); }

// Where the Cabrillo log goes, named from where the program was started (not
// from the plug-in's folder); empty for none. False when the name cannot be
// used.
bool CabrilloPathOf(const ReplayOptions& options, std::filesystem::path& path) {
  if (options.cabrilloPath.empty()) {
    return true;
  }
  std::error_code ec;
  path = std::filesystem::absolute(options.cabrilloPath, ec).lexically_normal();
  if (ec) {
    Say("cannot use the Cabrillo log name " + options.cabrilloPath + ": " + ec.message());
    return false;
  }
  return true;
}

// The plug-in writes its error log, reports and settings relative to the
// current folder, as it does in the host's folder: moves there. False when it
// cannot be written in.
bool EnterOutputFolder(const ReplayOptions& options) {
  if (!options.outDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(options.outDir, ec);
    std::filesystem::current_path(options.outDir, ec);
    if (ec) {
      Say("cannot write in " + options.outDir + ": " + ec.message());
      return false;
    }
  }
  return true;
}

// The pass itself: reset, every contact, the result. Marks each contact the
// plug-in stored, notes in `refused` those it refused and returns how many it
// did not refuse.
int PlayPass(const PluginSession& plugin, const ReplayOptions& options, const std::string& ownCall,
             const ContestDays& days, std::vector<ReplayedContact>& contacts,
             std::vector<bool>& refused) {
  plugin.Reset(options.report, ownCall, days.start, days.end);
  int stored = 0;
  refused.assign(contacts.size(), false);
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    const int answer = plugin.Add(ownCall, contacts[i]);
    if (answer != 0) {
      ++stored;
    }
    refused[i] = answer == 0;
    contacts[i].stored = answer == 1;
  }
  return stored;
}

void PrintCallChecks(const PluginSession& plugin, const std::vector<CallCheck>& checks) {
  for (const CallCheck& c : checks) {
    // The host passes the text being entered at position 14; the check answers
    // only when it is not empty.
    const int answer = plugin.Check(c.call, c.mode, c.prefix, c.call, c.band, nullptr);
    const std::string meaning(CheckCallMeaning(answer));
    std::printf("check %s %s %s %s: %d %s\n", c.call.c_str(), c.band.c_str(), c.mode.c_str(),
                c.prefix.c_str(), answer, meaning.c_str());
  }
}

// Writes the Cabrillo log of the replay once the plug-in has written its
// settings ("Claimed" among them) and says what it wrote.
int WriteCabrilloLog(const std::filesystem::path& path, const std::string& ownCall,
                     const std::string& resultText, std::vector<ReplayedContact> contacts) {
  std::vector<std::string> notes;
  CabrilloLogInput input;
  input.createdBy = std::string(kProgram) + " " + STATS_VERSION;
  input.header = ReadStoredHeader(Settings(), ownCall);
  input.header.m_claimed = ClaimedScore(input.header.m_claimed, resultText, notes);
  input.qsos = std::move(contacts);
  const CabrilloLogText log = FormatCabrilloLog(input, notes);
  for (const std::string& note : notes) {
    Say("Cabrillo log: " + note);
  }
  std::string error;
  if (!SaveWholeFile(path.string(), log.bytes, Durability::kOnTheDisk, error)) {
    Say("cannot write the Cabrillo log " + path.string() + ": " + error);
    return kUnusable;
  }
  Say("Cabrillo log " + path.string() + ": " + std::to_string(log.qsoLines) + " QSO lines, " +
      std::to_string(log.xQsoLines) + " X-QSO lines, claimed score " + input.header.m_claimed);
  return kPlayed;
}

// Opens the plug-in library and names its first statistics set; kPlayed, or
// the exit code once the reason is said.
int OpenPlugin(const ReplayOptions& options, PluginSession& plugin, std::string& setName) {
  const std::string pluginPath =
      options.pluginPath.empty() ? ExecutableFolder() + STATS_PLUGIN_FILE_NAME : options.pluginPath;
  std::string error;
  if (!plugin.Open(pluginPath, error)) {
    Say(error);
    return kUnusable;
  }
  if (plugin.NumberOfSets() < 1) {
    Say("the plug-in " + pluginPath + " offers no statistics set");
    return kUnusable;
  }
  setName = plugin.SetName(0);
  return kPlayed;
}

// Names the Cabrillo log, enters the output folder and makes the settings
// folder of a report run; kPlayed, or the exit code once the reason is said.
int PrepareOutput(const ReplayOptions& options, std::filesystem::path& cabrilloPath) {
  if (!CabrilloPathOf(options, cabrilloPath)) {
    return kBadCommandLine;
  }
  if (!EnterOutputFolder(options)) {
    return kUnusable;
  }
  if (!cabrilloPath.empty() && WouldOverwritePluginFile(cabrilloPath)) {
    Say("--cabrillo " + options.cabrilloPath +
        " names a file the plug-in writes itself; choose another name");
    return kBadCommandLine;
  }
  if (options.report) {
    std::error_code ec;
    std::filesystem::create_directory(PluginSettingsFolder(), ec);
  }
  return kPlayed;
}

// The plug-in's result text on standard output, then its answers to --check;
// returns the text as printed.
std::string PrintResult(const PluginSession& plugin, const ReplayOptions& options) {
  int out = 0;
  std::string text = plugin.Result(&out);
  if (text.empty() || text.back() != '\n') {
    text += "\r\n";
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  PrintCallChecks(plugin, options.checks);
  std::fflush(stdout);
  return text;
}

// The counts line and, with --summary, what became of the records.
void SayCounts(const ReplayOptions& options, const std::string& setName, const ReplayLog& log,
               int stored, const std::vector<bool>& refused) {
  const std::size_t records = log.adif.records.size();
  const int played = static_cast<int>(log.contacts.size());
  const std::string where = options.outDir.empty() ? std::string() : options.outDir + "/";
  Say(setName + ": " + std::to_string(records) + " records, " + std::to_string(played) +
      " played (" + std::to_string(stored) + " stored, " + std::to_string(played - stored) +
      " refused: see " + where + "err.txt), " + std::to_string(records - log.contacts.size()) +
      " skipped, " + std::to_string(log.warnings.size()) + " warnings");
  if (options.summary) {
    Say("summary of " + options.logPath + ":");
    for (const std::string& line :
         FormatReplaySummary(SummarizeReplay(records, log.contacts, refused, log.warnings))) {
      std::fprintf(stderr, "%s\n", line.c_str());
    }
  }
}

// Each report file is replaced whole when it is written: one that is still
// the same file afterwards (or missing) was not written.
using FileIdentities = std::vector<std::pair<std::string, std::string>>;

FileIdentities ReportFilesBefore(const ReplayOptions& options, const std::string& ownCall,
                                 const std::vector<ReplayedContact>& contacts) {
  FileIdentities files;
  if (options.report) {
    for (const std::string& name : ReportFilesOf(ownCall, contacts)) {
      files.emplace_back(name, FileIdentity(name));
    }
  }
  return files;
}

// kPlayed, or kUnusable once each report file not written is named.
int CheckReportFilesWritten(const ReplayOptions& options, const FileIdentities& before) {
  const std::string where = options.outDir.empty() ? std::string() : options.outDir + "/";
  int status = kPlayed;
  for (const auto& [name, identity] : before) {
    const std::string after = FileIdentity(name);
    if (after.empty() || after == identity) {
      Say("Not written: " + where + name);
      status = kUnusable;
    }
  }
  return status;
}

int Play(const ReplayOptions& options) {
  ReplayLog log;
  std::string error;
  if (!ReadReplayLog(options.logPath, log, error)) {
    Say(error);
    return kUnusable;
  }
  PluginSession plugin;
  std::string setName;
  std::filesystem::path cabrilloPath;
  if (const int code = OpenPlugin(options, plugin, setName); code != kPlayed) {
    return code;
  }
  if (const int code = PrepareOutput(options, cabrilloPath); code != kPlayed) {
    return code;
  }
  for (const std::string& line : WarningLines(log.warnings)) {
    Say(options.logPath + ": " + line);
  }
  const std::string ownCall = options.ownCall ? *options.ownCall : OwnCallOf(log.adif);
  if (ownCall.empty()) {
    Say("the log names no own callsign (STATION_CALLSIGN or OPERATOR); use --call");
  }

  std::vector<bool> refused;
  const int stored = PlayPass(plugin, options, ownCall,
                              ContestDaysOf(log.contacts, options.startDay, options.endDay),
                              log.contacts, refused);
  const FileIdentities reportFiles = ReportFilesBefore(options, ownCall, log.contacts);
  const std::string text = PrintResult(plugin, options);
  SayCounts(options, setName, log, stored, refused);
  int status = CheckReportFilesWritten(options, reportFiles);
  if (!cabrilloPath.empty() &&
      WriteCabrilloLog(cabrilloPath, ownCall, text, std::move(log.contacts)) != kPlayed) {
    status = kUnusable;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    UseBinaryStdout();
    ReplayOptions options;
    std::string message;
    switch (ParseReplayOptions(std::vector<std::string>(argv + 1, argv + argc), options, message)) {
      case CommandLine::kHelp:
        std::fputs(message.c_str(), stdout);
        return kPlayed;
      case CommandLine::kUnusable:
        Say(message + " (see " + std::string(kProgram) + " --help)");
        return kBadCommandLine;
      case CommandLine::kRun:
        break;
    }
    return Play(options);
  } catch (const std::exception& e) {
    Say(e.what());
    return kUnusable;
  }
}
