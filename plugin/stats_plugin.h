// The work behind each export, on an explicit module state so tests can run
// it on a fresh one. Each function takes the state's lock for what it does.
#pragma once

#include <string>

#include "platform/ole_date_time.h"
#include "scoring/qso_store.h"

struct ModuleState;

int PluginAddData(ModuleState& m, const std::string& ownCall, CInfo qso);
int PluginRemoveData(ModuleState& m, const std::string& call, const std::string& band);
int PluginCheckCall(ModuleState& m, const std::string& call, const std::string& mode,
                    const std::string& prefix, const std::string& exchange, const char* band,
                    const char* otherBand);
const char* PluginGetResult(ModuleState& m, int* out);
int PluginResetStats(ModuleState& m, int reportFlag, const std::string& callsign,
                     const COleDateTime& start, const COleDateTime& end);
void PluginSetup(ModuleState& m);
