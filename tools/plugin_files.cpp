#include "tools/plugin_files.h"

#include <string>

#include "tools/cabrillo_settings.h"
#include "tools/text.h"

namespace {

// Files the plug-in's report run and error log write in its folder.
constexpr std::string_view kPluginFileNames[] = {
    "err.txt",   "RTTY.log",  "PSK .log",  "HELL .log",
    "MFSK .log", "MT63 .log", "THROB.log", "SSTV.log",
};

}  // namespace

bool IsPluginReportFileName(std::string_view fileName) {
  for (std::string_view name : kPluginFileNames) {
    if (EqualsIgnoringCase(name, fileName)) {
      return true;
    }
  }
  constexpr std::string_view kSheet = ".sum";
  return fileName.size() >= kSheet.size() &&
         EqualsIgnoringCase(fileName.substr(fileName.size() - kSheet.size()), kSheet);
}

bool IsPluginSettingsFileName(std::string_view fileName) {
  const std::string_view path = kCabrilloSettingsPath;
  return EqualsIgnoringCase(path.substr(path.find('\\') + 1), fileName);
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
  return folder == here / "Plugins" && IsPluginSettingsFileName(name);
}
