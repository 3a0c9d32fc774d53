// The host's full argument lists for the plug-in's entry points. The host
// passes every argument by position and fills the positions this contest does
// not score with its log's other fields; so do these calls, each such position
// with a value of its own (distinct texts and numbers, a valid date-time, the
// two extra fields as "extra1" and "extra2"), so that an argument read from the
// wrong position shows up as a wrong answer.
//
// The entry point comes in as a pointer: the exports linked in, or found by
// name in a loaded library. Safe on any thread the entry point allows.
#pragma once

#include "plugin/exports.h"
#include "tools/common/host_contact.h"

using AddDataFn = decltype(&AddData0);
using CheckCallFn = decltype(&CheckCall0);
using ResetStatsFn = decltype(&ResetStats0);

// AddData0 or RemoveData0 (they share their argument list) for one contact.
int CallAddData(AddDataFn fn, const char* ownCall, const HostContact& contact);

// CheckCall0's answer, and whether it left the host's two buffers alone. Any
// text may be null, as the host may pass it.
struct CallCheckAnswer {
  int answer = 0;
  bool buffersKept = true;
};
CallCheckAnswer CallCheckCall(CheckCallFn fn, const char* call, const char* mode,
                              const char* prefix, const char* exchange, const char* band,
                              const char* otherBand);

int CallResetStats(ResetStatsFn fn, int reportFlag, const char* callsign, COleDateTime start,
                   COleDateTime end);
