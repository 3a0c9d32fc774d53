// A test host: calls the plug-in library's entry points exactly as the host
// program does (function pointers found by name at run time, full argument
// lists) and writes down everything it gets back. The same scenario runs
// against libStats.so natively and against Stats.dll under Windows; the two
// transcripts must be equal byte for byte.
#pragma once

#include <string>

#include "platform/ole_date_time.h"
#include "tools/common/entry_points.h"
#include "tools/common/host_contact.h"

// A valid date-time for a calendar day and time.
COleDateTime HostDateOf(int year, int month, int day, int hour = 0, int minute = 0);

// A contact of the test contest's first day (13 February 2016) with the
// reports the host passes, 599 sent and 579 received.
HostContact ContactAt(const char* call, const char* band, const char* mode, const char* prefix,
                      const char* nrSent, const char* nrRcvd, unsigned int hertz, int hour,
                      int minute);

// Texts with CR, LF, TAB and bytes outside printable ASCII escaped, so a
// transcript line shows every byte.
std::string Escaped(const std::string& bytes);

// Whole file, or "<missing>".
std::string FileBytesOrMissing(const std::string& path);

// Runs one ordinary pass (set name, exchange checks, reset, QSOs with refusals
// and dupes, a removal, call checks, the result twice) in the current folder,
// which must hold an empty "Plugins" folder, and returns the transcript:
// every answer, every text and the bytes of every file written.
std::string RunPassTranscript(const PluginEntryPoints& stats);
