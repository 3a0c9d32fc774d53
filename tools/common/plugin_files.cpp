#include "tools/common/plugin_files.h"

#include <string>

#include "contest/file_word.h"
#include "contest/mode_groups.h"
#include "contest/settings.h"
#include "platform/text.h"

namespace {

// The plug-in's error log, beside the report run's files.
constexpr std::string_view kErrorLogName = "err.txt";
constexpr std::string_view kSummarySheetExtension = ".sum";

// The settings file's path, relative to the plug-in's folder, in its parts.
constexpr std::string_view kSettings = kSettingsPath;
constexpr std::size_t kSettingsSeparator = kSettings.find('\\');

}  // namespace

int ModeGroupOfLogFileName(std::string_view fileName) {
  for (int g = 0; g < kModeGroupCount; ++g) {
    if (EqualsNoCase(kModeGroups[g].logName, fileName)) {
      return g;
    }
  }
  return -1;
}

bool IsSummarySheetFileName(std::string_view fileName) {
  const std::size_t n = kSummarySheetExtension.size();
  return fileName.size() >= n &&
         EqualsNoCase(fileName.substr(fileName.size() - n), kSummarySheetExtension);
}

std::string SummarySheetFileName(const std::string& ownCall) {
  return FileWordOf(ownCall) + std::string(kSummarySheetExtension);
}

bool IsPluginReportFileName(std::string_view fileName) {
  return EqualsNoCase(kErrorLogName, fileName) || ModeGroupOfLogFileName(fileName) >= 0 ||
         IsSummarySheetFileName(fileName);
}

bool IsPluginSettingsFileName(std::string_view fileName) {
  return EqualsNoCase(kSettings.substr(kSettingsSeparator + 1), fileName);
}

std::string PluginSettingsFolder() { return std::string(kSettings.substr(0, kSettingsSeparator)); }

std::string PluginSettingsPath() {
  return PluginSettingsFolder() + "/" + std::string(kSettings.substr(kSettingsSeparator + 1));
}

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
  return folder == here / PluginSettingsFolder() && IsPluginSettingsFileName(name);
}

std::vector<std::string> ReportFilesOf(const std::string& ownCall,
                                       const std::vector<ReplayedContact>& contacts) {
  bool filed[kModeGroupCount] = {};
  for (const ReplayedContact& c : contacts) {
    const int group = ModeGroupOf(c.mode);
    if (c.stored && group >= 0) {
      filed[group] = true;
    }
  }
  std::vector<std::string> files;
  for (int order = 0; order < kModeGroupCount; ++order) {
    const int group = ModeGroupOfLogOrder(order);
    if (filed[group]) {
      files.emplace_back(kModeGroups[group].logName);
    }
  }
  files.push_back(SummarySheetFileName(ownCall));
  return files;
}
