#include "tools/check/check_scoring.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

#include "contest/settings.h"
#include "tools/common/write_whole_file.h"
#include "tools/common/plugin_files.h"

namespace fs = std::filesystem;

namespace {

// Written whole before every reset, so that each station starts from the same
// settings: the plug-in's panel toggle then finds "1", sets it back to "0" and
// opens no panel (which on Windows would open windows).
void WriteNoPanelSettings() {
  const std::string text =
      std::string("[") + kSettingsSection + "]\r\n" + settings_key::kStart + "=1\r\n";
  std::string ignored;  // best effort: the check goes on whether or not it is written
  SaveWholeFile(PluginSettingsPath(), text, Durability::kWritten, ignored);
}

// The plug-in rewrites its settings file at every score request and its error
// log at every reset: thousands of small files truncated and written again. A
// disk file system may flush each such rewrite (ext4 does), at a millisecond or
// more apiece, so the work goes to memory where the system offers a folder
// there, unless TMPDIR names another place.
fs::path WorkingFolderParent(std::error_code& ec) {
  const char* chosen = std::getenv("TMPDIR");
  if ((chosen == nullptr || *chosen == '\0') && fs::is_directory("/dev/shm", ec)) {
    return "/dev/shm";
  }
  return fs::temp_directory_path(ec);
}

constexpr char kFolderPrefix[] = "stats-check-";

#ifdef _WIN32
int ProcessId() { return static_cast<int>(GetCurrentProcessId()); }
void RemoveFoldersOfEndedRuns(const fs::path&) {}
#else
int ProcessId() { return static_cast<int>(getpid()); }

// A run that was killed cannot remove its folder: the next run does, once
// the process that made it is gone (its id is in the name).
void RemoveFoldersOfEndedRuns(const fs::path& parent) {
  std::error_code ec;
  const std::string prefix = kFolderPrefix;
  for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      std::error_code ignored;
      fs::remove_all(it->path(), ignored);
    }
  }
}
#endif

}  // namespace

CheckScoring::~CheckScoring() {
  // The library goes first: unloading runs its exit in the working folder.
  plugin_.Close();
  std::error_code ec;
  if (!home_.empty()) {
    fs::current_path(home_, ec);
  }
  if (!workFolder_.empty()) {
    fs::remove_all(workFolder_, ec);
  }
}

bool CheckScoring::Open(const std::string& pluginPath, std::string& error) {
  if (!plugin_.Open(pluginPath, error)) {
    return false;
  }
  std::error_code ec;
  home_ = fs::current_path(ec);
  const fs::path temp = WorkingFolderParent(ec);
  if (ec) {
    error = "no folder for temporary files: " + ec.message();
    return false;
  }
  RemoveFoldersOfEndedRuns(temp);
  std::mt19937_64 names(
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100 && workFolder_.empty(); ++attempt) {
    const fs::path candidate = temp / (kFolderPrefix + std::to_string(ProcessId()) + "-" +
                                       std::to_string(names() % 1000000000));
    if (fs::create_directory(candidate, ec)) {
      workFolder_ = candidate;
    }
  }
  if (workFolder_.empty()) {
    error = "cannot make a working folder in " + temp.string();
    return false;
  }
  fs::create_directory(workFolder_ / PluginSettingsFolder(), ec);
  fs::current_path(workFolder_, ec);
  if (ec) {
    error = "cannot work in " + workFolder_.string() + ": " + ec.message();
    return false;
  }
  return true;
}

std::optional<tools::ScoreTable> CheckScoring::Score(const std::string& ownCall,
                                              const std::vector<HostContact>& qsos,
                                              COleDateTime start, COleDateTime end) {
  WriteNoPanelSettings();
  plugin_.Reset(false, ownCall, start, end);
  for (const HostContact& q : qsos) {
    plugin_.Add(ownCall, q);
  }
  int out = 0;
  return tools::ParseScoreTable(plugin_.Result(&out));
}
