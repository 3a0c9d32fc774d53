// The exported entry points: argument positions to values, and a wall that no
// exception crosses. A null text reads as empty text and a null date-time
// pointer as a null date-time, so no argument the host passes can crash us.
#include "plugin/exports.h"

#include <string>

#include "plugin/module_state.h"
#include "plugin/stats_plugin.h"
#include "scoring/call_check.h"

namespace {

std::string Text(const char* s) { return s != nullptr ? std::string(s) : std::string(); }

CInfo RecordFromArguments(const char* call, const COleDateTime* time, unsigned int frequencyHz,
                          const char* mode, const char* rstSent, const char* rstRcvd,
                          const char* nrSent, const char* nrRcvd, const char* prefix,
                          const char* extra1, const char* extra2, const char* band) {
  CInfo q;
  q.m_call = Text(call);
  q.m_extra1 = Text(extra1);
  q.m_extra2 = Text(extra2);
  q.m_band = Text(band);
  q.m_mode = Text(mode);
  q.m_rstRcvd = Text(rstRcvd);
  q.m_rstSent = Text(rstSent);
  q.m_nrRcvd = Text(nrRcvd);
  q.m_nrSent = Text(nrSent);
  q.m_prefix = Text(prefix);
  q.m_freqKhz = KhzFromHertz(frequencyHz);
  q.m_time = ReadHostDateTime(time);
  return q;
}

}  // namespace

extern "C" {

int AddData0(const char* ownCall, const char* call, COleDateTime* time, COleDateTime*,
             COleDateTime*, COleDateTime*, unsigned int, unsigned int frequencyHz,
             const char* mode, const char* rstSent, const char* rstRcvd, const char* nrSent,
             const char* nrRcvd, const char*, const char*, const char*, const char*, const char*,
             const char*, const char*, const char*, const char* prefix, const char* extra1, int,
             int, int, double, double, const char*, const char* extra2, const char*,
             const char* band, const char*) {
  try {
    return PluginAddData(Module(), Text(ownCall),
                         RecordFromArguments(call, time, frequencyHz, mode, rstSent, rstRcvd,
                                             nrSent, nrRcvd, prefix, extra1, extra2, band));
  } catch (...) {
    return 0;
  }
}

int RemoveData0(const char*, const char* call, COleDateTime*, COleDateTime*, COleDateTime*,
                COleDateTime*, unsigned int, unsigned int, const char*, const char*, const char*,
                const char*, const char*, const char*, const char*, const char*, const char*,
                const char*, const char*, const char*, const char*, const char*, const char*, int,
                int, int, double, double, const char*, const char*, const char*, const char* band,
                const char*) {
  try {
    return PluginRemoveData(Module(), Text(call), Text(band));
  } catch (...) {
    return 1;
  }
}

int CheckCall0(const char* call, unsigned int, unsigned int, const char* mode, const char*,
               const char*, const char*, const char*, const char*, const char*, const char*,
               const char*, const char* prefix, const char* exchange, int, int, int, double,
               double, const char*, const char*, const char*, const char*, const char*,
               const char* band, const char* otherBand, char*, char*) {
  try {
    return PluginCheckCall(Module(), Text(call), Text(mode), Text(prefix), Text(exchange), band,
                           otherBand);
  } catch (...) {
    return kCheckKnownPrefix;
  }
}

int GetNumberOfSets(void) { return 1; }

const char* GetResult0(int* out) {
  try {
    return PluginGetResult(Module(), out);
  } catch (...) {
    return "";
  }
}

const char* GetSetName(int index) { return index == 0 ? kSetName : ""; }

int ResetStats0(const char*, int reportFlag, const char* callsign, COleDateTime* start,
                COleDateTime* end, const char*, const char*, const char*, const char*,
                const char*, const char*, const char*, const char*, const char*, const char*, int,
                int, int, double, double, const char*, const char*, const char*) {
  try {
    return PluginResetStats(Module(), reportFlag, Text(callsign), ReadHostDateTime(start),
                            ReadHostDateTime(end));
  } catch (...) {
    return 1;
  }
}

void SetupSet0(void) {
  try {
    PluginSetup(Module());
  } catch (...) {
  }
}

int GetExchgCount0(const char*, const char*, const char*) { return kExchangeFieldCount; }

int IsValidExchg0(const char* text, const char*, const char* reference, const char*, int, int,
                  int fieldIndex) {
  try {
    return IsValidExchange(Text(text), Text(reference), fieldIndex);
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
