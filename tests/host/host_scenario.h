// A test host: calls the plug-in library's entry points exactly as the host
// program does (function pointers found by name at run time, full argument
// lists, its own picture of the date-time object) and writes down everything
// it gets back. The same scenario runs against libStats.so natively and
// against Stats.dll under Windows; the two transcripts must be equal byte for
// byte.
#pragma once

#include <cstdint>
#include <string>

// The host's date-time object: a day count and a status, 16 bytes.
struct HostDate {
  double dt = 0.0;
  std::int32_t status = 0;  // 0 valid, 1 invalid, 2 null
  std::int32_t padding = 0;
};
static_assert(sizeof(HostDate) == 16, "the host's date-time object is 16 bytes");

using AddDataFn = int (*)(const char*, const char*, HostDate*, HostDate*, HostDate*, HostDate*,
                          unsigned int, unsigned int, const char*, const char*, const char*,
                          const char*, const char*, const char*, const char*, const char*,
                          const char*, const char*, const char*, const char*, const char*,
                          const char*, const char*, int, int, int, double, double, const char*,
                          const char*, const char*, const char*, const char*);
using CheckCallFn = int (*)(const char*, unsigned int, unsigned int, const char*, const char*,
                            const char*, const char*, const char*, const char*, const char*,
                            const char*, const char*, const char*, const char*, int, int, int,
                            double, double, const char*, const char*, const char*, const char*,
                            const char*, const char*, const char*, char*, char*);
using GetNumberOfSetsFn = int (*)();
using GetResultFn = const char* (*)(int*);
using GetSetNameFn = const char* (*)(int);
using ResetStatsFn = int (*)(const char*, int, const char*, HostDate*, HostDate*, const char*,
                             const char*, const char*, const char*, const char*, const char*,
                             const char*, const char*, const char*, const char*, int, int, int,
                             double, double, const char*, const char*, const char*);
using SetupSetFn = void (*)();
using GetExchgCountFn = int (*)(const char*, const char*, const char*);
using IsValidExchgFn = int (*)(const char*, const char*, const char*, const char*, int, int, int);

struct EntryPoints {
  AddDataFn addData = nullptr;
  AddDataFn removeData = nullptr;
  CheckCallFn checkCall = nullptr;
  GetNumberOfSetsFn getNumberOfSets = nullptr;
  GetResultFn getResult = nullptr;
  GetSetNameFn getSetName = nullptr;
  ResetStatsFn resetStats = nullptr;
  SetupSetFn setupSet = nullptr;
  GetExchgCountFn getExchgCount = nullptr;
  IsValidExchgFn isValidExchg = nullptr;
};

// The names the host looks up: the plain ones, and the decorated ones its own
// compiler gives the same functions (the Windows DLL exports both).
struct EntryPointName {
  const char* plain;
  const char* decorated;
};
extern const EntryPointName kEntryPointNames[10];

// A valid date-time for a calendar day and time (days since 30 Dec 1899).
HostDate HostDateOf(int year, int month, int day, int hour = 0, int minute = 0);

// One contact as the host passes it to AddData0 / RemoveData0.
struct Contact {
  const char* call;
  const char* band;
  const char* mode;
  const char* prefix;
  const char* nrSent;
  const char* nrRcvd;
  unsigned int hertz;
  int hour;
  int minute;
};
int CallAddData(AddDataFn fn, const char* ownCall, const Contact& c);
int CallCheckCall(CheckCallFn fn, const char* call, const char* mode, const char* prefix,
                  const char* exchange, const char* band, const char* otherBand,
                  bool& buffersKept);
int CallResetStats(ResetStatsFn fn, int reportFlag, const char* callsign, HostDate start,
                   HostDate end);

// Texts with CR, LF, TAB and bytes outside printable ASCII escaped, so a
// transcript line shows every byte.
std::string Escaped(const std::string& bytes);

// Whole file, or "<missing>".
std::string FileBytesOrMissing(const std::string& path);

// Runs one ordinary pass (set name, exchange checks, reset, QSOs with refusals
// and dupes, a removal, call checks, the result twice) in the current folder,
// which must hold an empty "Plugins" folder, and returns the transcript:
// every answer, every text and the bytes of every file written.
std::string RunPassTranscript(const EntryPoints& stats);
