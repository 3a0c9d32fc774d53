#include "tools/check_scoring.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>

#include "plugin/exports.h"
#include "tools/plugin_library.h"

namespace fs = std::filesystem;

namespace {

// Written before every reset: the plug-in's panel toggle then finds "1", sets
// it back to "0" and opens no panel (which on Windows would open windows).
constexpr char kSettingsFile[] = "Plugins/KOVA-BRAWLCUP.ini";
constexpr char kNoPanel[] = "[Settings]\r\nStart=1\r\n";

bool WriteNoPanelSettings() {
  std::FILE* f = std::fopen(kSettingsFile, "wb");
  if (f == nullptr) {
    return false;
  }
  const bool written = std::fputs(kNoPanel, f) >= 0;
  return std::fclose(f) == 0 && written;
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

}  // namespace

struct CheckScoring::Plugin {
  PluginLibrary library;
  decltype(&ResetStats0) resetStats = nullptr;
  decltype(&AddData0) addData = nullptr;
  decltype(&GetResult0) getResult = nullptr;
};

CheckScoring::CheckScoring() = default;

CheckScoring::~CheckScoring() {
  // The library goes first: unloading runs its exit in the working folder.
  plugin_.reset();
  std::error_code ec;
  if (!home_.empty()) {
    fs::current_path(home_, ec);
  }
  if (!workFolder_.empty()) {
    fs::remove_all(workFolder_, ec);
  }
}

bool CheckScoring::Open(const std::string& pluginPath, std::string& error) {
  auto plugin = std::make_unique<Plugin>();
  if (!plugin->library.Open(pluginPath, error)) {
    error = "cannot load the plug-in " + pluginPath + ": " + error;
    return false;
  }
  plugin->resetStats = plugin->library.Find<decltype(plugin->resetStats)>("ResetStats0");
  plugin->addData = plugin->library.Find<decltype(plugin->addData)>("AddData0");
  plugin->getResult = plugin->library.Find<decltype(plugin->getResult)>("GetResult0");
  if (plugin->resetStats == nullptr || plugin->addData == nullptr || plugin->getResult == nullptr) {
    error = "the plug-in " + pluginPath + " lacks ResetStats0, AddData0 or GetResult0";
    return false;
  }

  std::error_code ec;
  home_ = fs::current_path(ec);
  const fs::path temp = WorkingFolderParent(ec);
  if (ec) {
    error = "no folder for temporary files: " + ec.message();
    return false;
  }
  std::mt19937_64 names(
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100 && workFolder_.empty(); ++attempt) {
    const fs::path candidate = temp / ("stats-check-" + std::to_string(names() % 1000000000));
    if (fs::create_directory(candidate, ec)) {
      workFolder_ = candidate;
    }
  }
  if (workFolder_.empty()) {
    error = "cannot make a working folder in " + temp.string();
    return false;
  }
  fs::create_directory(workFolder_ / "Plugins", ec);
  fs::current_path(workFolder_, ec);
  if (ec) {
    error = "cannot work in " + workFolder_.string() + ": " + ec.message();
    return false;
  }
  plugin_ = std::move(plugin);
  return true;
}

std::optional<ScoreTable> CheckScoring::Score(const std::string& ownCall,
                                              std::vector<PlayedQso>& qsos, COleDateTime start,
                                              COleDateTime end) {
  WriteNoPanelSettings();
  plugin_->resetStats("", 0, ownCall.c_str(), &start, &end, "", "", "", "", "", "", "", "", "", "",
                      0, 0, 0, 0.0, 0.0, "", "", "");
  const COleDateTime noTime{0.0, COleDateTime::null};
  for (PlayedQso& q : qsos) {
    COleDateTime unused4 = noTime;
    COleDateTime unused5 = noTime;
    COleDateTime unused6 = noTime;
    plugin_->addData(ownCall.c_str(), q.call.c_str(), &q.time, &unused4, &unused5, &unused6, 0,
                     q.hertz, q.mode.c_str(), "", "", q.nrSent.c_str(), q.nrRcvd.c_str(), "", "",
                     "", "", "", "", "", "", q.prefix.c_str(), "", 0, 0, 0, 0.0, 0.0, "", "", "",
                     q.band.c_str(), "");
  }
  int out = 0;
  const char* result = plugin_->getResult(&out);
  return result != nullptr ? ParseScoreTable(result) : std::nullopt;
}
