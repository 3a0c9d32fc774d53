// stats-replay: plays the host with an ADIF log. It loads the plug-in library
// the way the host does, makes one statistics pass over the log (reset, one
// AddData0 per QSO, the result) and prints the plug-in's result text on stdout.
// Everything the program itself has to say goes to stderr.
//
// With --cabrillo it also writes the log as one Cabrillo 3.0 file, after the
// plug-in has had its say; the plug-in's own files are the same either way.
//
// Exit codes: 0 the log was played (even with warnings), 1 the log or the
// plug-in could not be used or the Cabrillo log not written, 2 the command line
// could not be used.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "plugin/exports.h"
#include "tools/adif.h"
#include "tools/cabrillo_log.h"
#include "tools/host_qso.h"
#include "tools/plugin_library.h"
#include "tools/replay_options.h"

#ifndef STATS_PLUGIN_FILE_NAME
#error "the build names the plug-in's file"
#endif
#ifndef STATS_VERSION
#error "the build gives the version"
#endif

namespace {

constexpr char kProgram[] = "stats-replay";

enum ExitCode { kPlayed = 0, kUnusable = 1, kBadCommandLine = 2 };

// The entry points the host calls in a statistics pass, found by their plain
// exported names.
struct PluginExports {
  decltype(&GetNumberOfSets) getNumberOfSets = nullptr;
  decltype(&GetSetName) getSetName = nullptr;
  decltype(&ResetStats0) resetStats = nullptr;
  decltype(&AddData0) addData = nullptr;
  decltype(&GetResult0) getResult = nullptr;
  decltype(&CheckCall0) checkCall = nullptr;
};

// The name of the first entry point the library lacks, or null.
const char* FindExports(const PluginLibrary& library, PluginExports& e) {
  e.getNumberOfSets = library.Find<decltype(e.getNumberOfSets)>("GetNumberOfSets");
  e.getSetName = library.Find<decltype(e.getSetName)>("GetSetName");
  e.resetStats = library.Find<decltype(e.resetStats)>("ResetStats0");
  e.addData = library.Find<decltype(e.addData)>("AddData0");
  e.getResult = library.Find<decltype(e.getResult)>("GetResult0");
  e.checkCall = library.Find<decltype(e.checkCall)>("CheckCall0");
  if (e.getNumberOfSets == nullptr) {
    return "GetNumberOfSets";
  }
  if (e.getSetName == nullptr) {
    return "GetSetName";
  }
  if (e.resetStats == nullptr) {
    return "ResetStats0";
  }
  if (e.addData == nullptr) {
    return "AddData0";
  }
  if (e.getResult == nullptr) {
    return "GetResult0";
  }
  if (e.checkCall == nullptr) {
    return "CheckCall0";
  }
  return nullptr;
}

void Say(const std::string& line) { std::fprintf(stderr, "%s: %s\n", kProgram, line.c_str()); }

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    bytes.append(buffer, n);
  }
  const bool failed = std::ferror(f) != 0;
  const int readErrno = errno;
  std::fclose(f);
  if (failed) {
    error = std::strerror(readErrno);
    return false;
  }
  return true;
}

const char* CheckMeaning(int answer) {
  switch (answer) {
    case 0:
      return "duplicate";
    case 1:
      return "known prefix";
    case 2:
      return "new multiplier";
    case 4:
      return "bands differ";
    default:
      return "unknown answer";
  }
}

// True when `target` is the plug-in's error log, one of its report files or its
// settings file in the current folder, the one the plug-in writes in.
bool WouldOverwritePluginFile(const std::filesystem::path& target) {
  std::error_code ec;
  const std::filesystem::path here = std::filesystem::weakly_canonical(".", ec);
  const std::filesystem::path folder = std::filesystem::weakly_canonical(target.parent_path(), ec);
  if (ec) {
    return false;
  }
  const std::string name = target.filename().string();
  if (folder == here) {
    return IsPluginReportFileName(name);
  }
  return folder == here / "Plugins" && IsPluginSettingsFileName(name);
}

// Writes the Cabrillo log of the replay once the plug-in has written its
// settings ("Claimed" among them) and says what it wrote.
int WriteCabrilloLog(const std::filesystem::path& path, const std::string& ownCall,
                     const std::string& resultText, std::vector<CabrilloQso> qsos) {
  std::vector<std::string> notes;
  CabrilloLogInput input;
  input.createdBy = std::string(kProgram) + " " + STATS_VERSION;
  input.callsign = ownCall;
  input.settings = ReadCabrilloSettings(kCabrilloSettingsPath, ownCall);
  input.claimedScore = ClaimedScore(input.settings.claimed, resultText, notes);
  input.qsos = std::move(qsos);
  const CabrilloLogText log = FormatCabrilloLog(input, notes);
  const std::string& bytes = log.bytes;
  for (const std::string& note : notes) {
    Say("Cabrillo log: " + note);
  }
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (f == nullptr) {
    Say("cannot write the Cabrillo log " + path.string() + ": " + std::strerror(errno));
    return kUnusable;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeErrno = errno;
  if (std::fclose(f) != 0 || !written) {
    Say("cannot write the Cabrillo log " + path.string() + ": " + std::strerror(writeErrno));
    return kUnusable;
  }
  Say("Cabrillo log " + path.string() + ": " + std::to_string(log.qsoLines) + " QSO lines, " +
      std::to_string(log.xQsoLines) + " X-QSO lines, claimed score " + input.claimedScore);
  return kPlayed;
}

int Play(const ReplayOptions& options) {
  std::string bytes;
  std::string error;
  if (!ReadWholeFile(options.logPath, bytes, error)) {
    Say("cannot read the log " + options.logPath + ": " + error);
    return kUnusable;
  }
  AdifLog log = ParseAdif(bytes);
  std::vector<AdifWarning> warnings = std::move(log.warnings);
  std::vector<ReplayQso> qsos;
  std::vector<int> recordNumbers;
  for (const AdifRecord& r : log.records) {
    ReplayQso q;
    if (MapRecord(r, q, warnings)) {
      qsos.push_back(std::move(q));
      recordNumbers.push_back(r.number);
    }
  }
  std::stable_sort(warnings.begin(), warnings.end(),
                   [](const AdifWarning& a, const AdifWarning& b) { return a.line < b.line; });

  const std::string pluginPath =
      options.pluginPath.empty() ? ExecutableFolder() + STATS_PLUGIN_FILE_NAME : options.pluginPath;
  PluginLibrary library;
  if (!library.Open(pluginPath, error)) {
    Say("cannot load the plug-in " + pluginPath + ": " + error);
    return kUnusable;
  }
  PluginExports plugin;
  if (const char* missing = FindExports(library, plugin)) {
    Say("the plug-in " + pluginPath + " does not export " + missing);
    return kUnusable;
  }
  if (plugin.getNumberOfSets() < 1) {
    Say("the plug-in " + pluginPath + " offers no statistics set");
    return kUnusable;
  }
  const char* setNameText = plugin.getSetName(0);
  const std::string setName = setNameText != nullptr ? setNameText : "";

  // Named from where the program was started, not from the plug-in's folder.
  std::filesystem::path cabrilloPath;
  if (!options.cabrilloPath.empty()) {
    std::error_code ec;
    cabrilloPath = std::filesystem::absolute(options.cabrilloPath, ec).lexically_normal();
    if (ec) {
      Say("cannot use the Cabrillo log name " + options.cabrilloPath + ": " + ec.message());
      return kBadCommandLine;
    }
  }

  // The plug-in writes its error log, reports and settings relative to the
  // current folder, as it does in the host's folder.
  if (!options.outDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(options.outDir, ec);
    std::filesystem::current_path(options.outDir, ec);
    if (ec) {
      Say("cannot write in " + options.outDir + ": " + ec.message());
      return kUnusable;
    }
  }
  if (!cabrilloPath.empty() && WouldOverwritePluginFile(cabrilloPath)) {
    Say("--cabrillo " + options.cabrilloPath +
        " names a file the plug-in writes itself; choose another name");
    return kBadCommandLine;
  }
  if (options.report) {
    std::error_code ec;
    std::filesystem::create_directory("Plugins", ec);
  }

  for (const AdifWarning& w : warnings) {
    Say(options.logPath + ": " + FormatWarning(w));
  }

  std::string ownCall = options.ownCall ? *options.ownCall : OwnCallOf(log);
  if (ownCall.empty()) {
    Say("the log names no own callsign (STATION_CALLSIGN or OPERATOR); use --call");
  }
  std::optional<long> firstDay = options.startDay;
  std::optional<long> lastDay = options.endDay;
  for (const ReplayQso& q : qsos) {
    if (q.time.m_status != COleDateTime::valid) {
      continue;
    }
    const long day = static_cast<long>(q.time.m_dt);
    if (!options.startDay && (!firstDay || day < *firstDay)) {
      firstDay = day;
    }
    if (!options.endDay && (!lastDay || day > *lastDay)) {
      lastDay = day;
    }
  }
  const COleDateTime noTime{0.0, COleDateTime::null};
  COleDateTime start = firstDay ? HostDateTime(*firstDay) : noTime;
  COleDateTime end = lastDay ? HostDateTime(*lastDay) : noTime;

  plugin.resetStats("", options.report ? 1 : 0, ownCall.c_str(), &start, &end, "", "", "", "", "",
                    "", "", "", "", "", 0, 0, 0, 0.0, 0.0, "", "", "");
  int stored = 0;
  std::vector<CabrilloQso> cabrilloQsos;
  for (ReplayQso& q : qsos) {
    COleDateTime unused4 = noTime;
    COleDateTime unused5 = noTime;
    COleDateTime unused6 = noTime;
    const int answer =
        plugin.addData(ownCall.c_str(), q.call.c_str(), &q.time, &unused4, &unused5, &unused6, 0,
                       q.hertz, q.mode.c_str(), q.rstSent.c_str(), q.rstRcvd.c_str(),
                       q.nrSent.c_str(), q.nrRcvd.c_str(), "", "", "", "", "", "", "", "",
                       q.prefix.c_str(), "", 0, 0, 0, 0.0, 0.0, "", "", "", q.band.c_str(), "");
    if (answer != 0) {
      ++stored;
    }
    if (!cabrilloPath.empty()) {
      cabrilloQsos.push_back(ToCabrilloQso(q, recordNumbers[cabrilloQsos.size()], answer == 1));
    }
  }
  int out = 0;
  const char* result = plugin.getResult(&out);
  std::string text = result != nullptr ? result : "";
  if (text.empty() || text.back() != '\n') {
    text += "\r\n";
  }
  std::fwrite(text.data(), 1, text.size(), stdout);

  for (const CallCheck& c : options.checks) {
    char buffer27[256] = {};
    char buffer28[256] = {};
    // The host passes the text being entered at position 14; the check answers
    // only when it is not empty.
    const int answer =
        plugin.checkCall(c.call.c_str(), 0, 0, c.mode.c_str(), "", "", "", "", "", "", "", "",
                         c.prefix.c_str(), c.call.c_str(), 0, 0, 0, 0.0, 0.0, "", "", "", "", "",
                         c.band.c_str(), nullptr, buffer27, buffer28);
    std::printf("check %s %s %s %s: %d %s\n", c.call.c_str(), c.band.c_str(), c.mode.c_str(),
                c.prefix.c_str(), answer, CheckMeaning(answer));
  }
  std::fflush(stdout);

  const int played = static_cast<int>(qsos.size());
  const std::string where = options.outDir.empty() ? std::string() : options.outDir + "/";
  Say(setName + ": " + std::to_string(log.records.size()) + " records, " + std::to_string(played) +
      " played (" + std::to_string(stored) + " stored, " + std::to_string(played - stored) +
      " refused: see " + where + "err.txt), " + std::to_string(log.records.size() - qsos.size()) +
      " skipped, " + std::to_string(warnings.size()) + " warnings");
  if (!cabrilloPath.empty()) {
    return WriteCabrilloLog(cabrilloPath, ownCall, text, std::move(cabrilloQsos));
  }
  return kPlayed;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    UseBinaryStdout();
    ReplayOptions options;
    std::string error;
    if (!ParseReplayOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
      Say(error + " (see " + std::string(kProgram) + " --help)");
      return kBadCommandLine;
    }
    if (options.help) {
      std::fputs(kReplayUsage, stdout);
      return kPlayed;
    }
    return Play(options);
  } catch (const std::exception& e) {
    Say(e.what());
    return kUnusable;
  }
}
