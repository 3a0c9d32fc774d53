// Contacts for the Cabrillo log tests: a time on the test contest's first day
// and a contact with the fields a QSO line shows.
#pragma once

#include "tools/common/host_contact.h"
#include "tools/replay/host_qso.h"

// 13 February 2016 at hh:mm.
inline COleDateTime At(int hour, int minute) {
  return HostDateTime(*DayNumberOfDate("20160213"), hour * 3600L + minute * 60L);
}

inline ReplayedContact Qso(COleDateTime time, const char* mode, unsigned int hertz,
                           const char* call, const char* nrSent, const char* nrRcvd,
                           bool stored = true) {
  ReplayedContact q;
  q.time = time;
  q.mode = mode;
  q.hertz = hertz;
  q.call = call;
  q.rstSent = "599";
  q.rstRcvd = "599";
  q.nrSent = nrSent;
  q.nrRcvd = nrRcvd;
  q.stored = stored;
  return q;
}
