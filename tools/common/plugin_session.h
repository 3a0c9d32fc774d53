// The plug-in loaded the way the host loads it, and the calls of a statistics
// pass: reset, one AddData0 per contact, the result, call checks, each with
// the host's full argument list. The tools play the host through this.
//
// One session per loaded library; use it from one thread, the host's.
#pragma once

#include <string>

#include "platform/dynamic_library.h"
#include "tools/common/entry_points.h"
#include "tools/common/host_contact.h"

class PluginSession {
 public:
  // Loads the library at `path` and finds its entry points by their plain
  // names. False, with a sentence saying why in `error`, when the file cannot
  // be loaded or lacks an entry point.
  bool Open(const std::string& path, std::string& error);

  // Unloads the library, which runs its shut-down as the host's exit would.
  // False when the system refused or nothing was loaded.
  bool Close();

  const PluginEntryPoints& entryPoints() const { return entryPoints_; }

  int NumberOfSets() const;
  // The set's name; empty for a null answer.
  std::string SetName(int index) const;

  int Reset(bool reportRun, const std::string& ownCall, COleDateTime start, COleDateTime end) const;
  // The plug-in's answer to AddData0: 1 stored, 0 refused.
  int Add(const std::string& ownCall, const HostContact& contact) const;
  // The result text (empty for a null answer) and what it set `*out` to.
  std::string Result(int* out) const;
  // CheckCall0's answer for the call being entered. `exchange` is the text the
  // host passes at position 14; `otherBand` may be null, as the host passes it.
  int Check(const std::string& call, const std::string& mode, const std::string& prefix,
            const std::string& exchange, const std::string& band, const char* otherBand) const;

 private:
  DynamicLibrary library_;
  PluginEntryPoints entryPoints_;
};
