#include "tools/common/host_arguments.h"

#include <cstring>

namespace {

// 31 December 1999: a valid date-time no contest of the tests lies on.
constexpr COleDateTime kIgnoredTime{36525.0, COleDateTime::valid};

}  // namespace

int CallAddData(AddDataFn fn, const char* ownCall, const HostContact& contact) {
  COleDateTime time = contact.time;
  COleDateTime t4 = kIgnoredTime;
  COleDateTime t5 = kIgnoredTime;
  COleDateTime t6 = kIgnoredTime;
  return fn(ownCall, contact.call.c_str(), &time, &t4, &t5, &t6, 7u, contact.hertz,
            contact.mode.c_str(), contact.rstSent.c_str(), contact.rstRcvd.c_str(),
            contact.nrSent.c_str(), contact.nrRcvd.c_str(), "p14", "p15", "p16", "p17", "p18",
            "p19", "p20", "p21", contact.prefix.c_str(), "extra1", 24, 25, 26, 27.25, 28.5, "p29",
            "extra2", "p31", contact.band.c_str(), "p33");
}

CallCheckAnswer CallCheckCall(CheckCallFn fn, const char* call, const char* mode,
                              const char* prefix, const char* exchange, const char* band,
                              const char* otherBand) {
  char b27[16] = "buffer27";
  char b28[16] = "buffer28";
  CallCheckAnswer a;
  a.answer =
      fn(call, 2u, 3u, mode, "p5", "p6", "p7", "p8", "p9", "p10", "p11", "p12", prefix, exchange,
         15, 16, 17, 18.5, 19.5, "p20", "p21", "p22", "p23", "p24", band, otherBand, b27, b28);
  a.buffersKept = std::strcmp(b27, "buffer27") == 0 && std::strcmp(b28, "buffer28") == 0;
  return a;
}

int CallResetStats(ResetStatsFn fn, int reportFlag, const char* callsign, COleDateTime start,
                   COleDateTime end) {
  return fn("p1", reportFlag, callsign, &start, &end, "p6", "p7", "p8", "p9", "p10", "p11", "p12",
            "p13", "p14", "p15", 16, 17, 18, 19.5, 20.5, "p21", "p22", "p23");
}
