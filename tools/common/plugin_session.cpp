#include "tools/common/plugin_session.h"

#include "tools/common/host_arguments.h"

bool PluginSession::Open(const std::string& path, std::string& error) {
  entryPoints_ = PluginEntryPoints();
  std::string reason;
  if (!library_.Open(path, reason)) {
    error = "cannot load the plug-in " + path + ": " + reason;
    return false;
  }
  if (const char* missing = FindEntryPoints(library_, entryPoints_)) {
    error = "the plug-in " + path + " does not export " + missing;
    library_.Close();
    return false;
  }
  return true;
}

bool PluginSession::Close() {
  entryPoints_ = PluginEntryPoints();
  return library_.Close();
}

int PluginSession::NumberOfSets() const { return entryPoints_.getNumberOfSets(); }

std::string PluginSession::SetName(int index) const {
  const char* name = entryPoints_.getSetName(index);
  return name != nullptr ? name : "";
}

int PluginSession::Reset(bool reportRun, const std::string& ownCall, COleDateTime start,
                         COleDateTime end) const {
  return CallResetStats(entryPoints_.resetStats, reportRun ? 1 : 0, ownCall.c_str(), start, end);
}

int PluginSession::Add(const std::string& ownCall, const HostContact& contact) const {
  return CallAddData(entryPoints_.addData, ownCall.c_str(), contact);
}

std::string PluginSession::Result(int* out) const {
  const char* text = entryPoints_.getResult(out);
  return text != nullptr ? text : "";
}

int PluginSession::Check(const std::string& call, const std::string& mode,
                         const std::string& prefix, const std::string& exchange,
                         const std::string& band, const char* otherBand) const {
  return CallCheckCall(entryPoints_.checkCall, call.c_str(), mode.c_str(), prefix.c_str(),
                       exchange.c_str(), band.c_str(), otherBand)
      .answer;
}
