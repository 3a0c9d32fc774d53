// The plug-in's entry points as a program that loads the library at run time
// holds them, and the names it finds them by: the plain names every build
// exports, and the decorated names the host's own compiler gives the same
// functions, which the Windows DLL exports as well (the host calls through
// those). Safe on any thread.
#pragma once

#include "platform/dynamic_library.h"
#include "plugin/exports.h"

struct PluginEntryPoints {
  decltype(&AddData0) addData = nullptr;
  decltype(&RemoveData0) removeData = nullptr;
  decltype(&CheckCall0) checkCall = nullptr;
  decltype(&GetNumberOfSets) getNumberOfSets = nullptr;
  decltype(&GetResult0) getResult = nullptr;
  decltype(&GetSetName) getSetName = nullptr;
  decltype(&ResetStats0) resetStats = nullptr;
  decltype(&SetupSet0) setupSet = nullptr;
  decltype(&GetExchgCount0) getExchgCount = nullptr;
  decltype(&IsValidExchg0) isValidExchg = nullptr;
};

// Calls visit(plainName, decoratedName, slot) for every entry point, in the
// order the host's documentation lists them.
template <class Visit>
void ForEachEntryPoint(PluginEntryPoints& e, Visit&& visit) {
  visit("AddData0", "?AddData0@@YAHPBD0PAVCOleDateTime@ATL@@111II000000000000000HHHNN00000@Z",
        e.addData);
  visit("RemoveData0", "?RemoveData0@@YAHPBD0PAVCOleDateTime@ATL@@111II000000000000000HHHNN00000@Z",
        e.removeData);
  visit("CheckCall0", "?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z", e.checkCall);
  visit("GetNumberOfSets", "?GetNumberOfSets@@YAHXZ", e.getNumberOfSets);
  visit("GetResult0", "?GetResult0@@YAPBDPAH@Z", e.getResult);
  visit("GetSetName", "?GetSetName@@YAPBDH@Z", e.getSetName);
  visit("ResetStats0", "?ResetStats0@@YAHPBDH0PAVCOleDateTime@ATL@@10000000000HHHNN000@Z",
        e.resetStats);
  visit("SetupSet0", "?SetupSet0@@YAXXZ", e.setupSet);
  visit("GetExchgCount0", "?StatsGetExchgCount0@@YAHPBD00@Z", e.getExchgCount);
  visit("IsValidExchg0", "?StatsIsValidExchg0@@YAHPBD000HHH@Z", e.isValidExchg);
}

// Finds every entry point under its plain name. The plain name of the first
// one the library lacks, or null when it has them all.
const char* FindEntryPoints(const DynamicLibrary& library, PluginEntryPoints& out);
