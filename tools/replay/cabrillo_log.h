// A standard Cabrillo 3.0 log of a replayed contest: the header (see
// cabrillo_header.h) and one QSO line per contact in time order, so that an
// ADIF log goes to a submission in one step. The plug-in's own per-mode logs
// and summary sheet are a different thing and are not touched by anything
// here. Pure; safe on any thread.
#pragma once

#include <string>
#include <vector>

#include "tools/replay/cabrillo_header.h"
#include "tools/common/host_contact.h"

struct CabrilloLogInput {
  std::string createdBy;              // "stats-replay 1.0.0"
  CabrilloHeader header;              // m_callsign the own call, m_claimed the claimed score
  std::vector<ReplayedContact> qsos;  // log order
};

struct CabrilloLogText {
  std::string bytes;  // the whole file
  int qsoLines = 0;
  int xQsoLines = 0;
};

// The whole file: CR LF line ends, printable ASCII only. A contact the plug-in
// stored with a time a QSO line can hold is a QSO line, every other an X-QSO
// line. `notes` gets one line for each thing a user must know because the file
// could not say it as given (a value cut to the line limit, a stored contact
// without a time).
CabrilloLogText FormatCabrilloLog(const CabrilloLogInput& input, std::vector<std::string>& notes);
