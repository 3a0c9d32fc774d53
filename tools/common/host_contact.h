// One contact as the host hands it to the plug-in: the values of the positions
// AddData0 and RemoveData0 read. The replay, the Cabrillo 3.0 log, the test
// hosts and the tests all describe a contact with this one record; what a user
// adds of its own (a record number, whether the plug-in stored it) it adds
// around it. Plain data; safe on any thread.
#pragma once

#include <string>

#include "platform/ole_date_time.h"

struct HostContact {
  std::string call;
  std::string band;  // the host's spelling: "20m"
  std::string mode;  // the host's mode name: "BPSK31", "RTTY" ...
  std::string rstSent;
  std::string rstRcvd;
  std::string nrSent;
  std::string nrRcvd;
  std::string prefix;      // the WPX prefix the host works out
  unsigned int hertz = 0;  // 0: no usable frequency
  COleDateTime time{0.0, COleDateTime::invalid};
};

// A contact of a replayed log: the ADIF record it came from and whether the
// plug-in stored it.
struct ReplayedContact : HostContact {
  int record = 0;
  bool stored = false;
};
