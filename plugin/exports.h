// The plug-in's exported entry points, as the host calls them.
//
// The host passes every argument by position; most positions carry values this
// contest does not need (see exports.cpp). Each entry point is exported once
// under the plain name below; the Windows build exports each a second time
// under the host's decorated name (stats.def). All run on the host's thread.
#pragma once

#include "platform/ole_date_time.h"

#if defined(_WIN32)
#define STATS_EXPORT
#else
#define STATS_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

STATS_EXPORT int AddData0(const char* ownCall, const char* call, COleDateTime* time,
                          COleDateTime* t4, COleDateTime* t5, COleDateTime* t6, unsigned int u7,
                          unsigned int frequencyHz, const char* mode, const char* rstSent,
                          const char* rstRcvd, const char* nrSent, const char* nrRcvd,
                          const char* s14, const char* s15, const char* s16, const char* s17,
                          const char* s18, const char* s19, const char* s20, const char* s21,
                          const char* prefix, const char* extra1, int i24, int i25, int i26,
                          double d27, double d28, const char* s29, const char* extra2,
                          const char* s31, const char* band, const char* s33);

STATS_EXPORT int RemoveData0(const char* ownCall, const char* call, COleDateTime* time,
                             COleDateTime* t4, COleDateTime* t5, COleDateTime* t6, unsigned int u7,
                             unsigned int frequencyHz, const char* mode, const char* rstSent,
                             const char* rstRcvd, const char* nrSent, const char* nrRcvd,
                             const char* s14, const char* s15, const char* s16, const char* s17,
                             const char* s18, const char* s19, const char* s20, const char* s21,
                             const char* prefix, const char* extra1, int i24, int i25, int i26,
                             double d27, double d28, const char* s29, const char* extra2,
                             const char* s31, const char* band, const char* s33);

// The host's CheckCallFunc0.
STATS_EXPORT int CheckCall0(const char* call, unsigned int u2, unsigned int u3, const char* mode,
                            const char* s5, const char* s6, const char* s7, const char* s8,
                            const char* s9, const char* s10, const char* s11, const char* s12,
                            const char* prefix, const char* exchange, int i15, int i16, int i17,
                            double d18, double d19, const char* s20, const char* s21,
                            const char* s22, const char* s23, const char* s24, const char* band,
                            const char* otherBand, char* buffer27, char* buffer28);

STATS_EXPORT int GetNumberOfSets(void);
STATS_EXPORT const char* GetResult0(int* out);
STATS_EXPORT const char* GetSetName(int index);

STATS_EXPORT int ResetStats0(const char* s1, int reportFlag, const char* callsign,
                             COleDateTime* start, COleDateTime* end, const char* s6,
                             const char* s7, const char* s8, const char* s9, const char* s10,
                             const char* s11, const char* s12, const char* s13, const char* s14,
                             const char* s15, int i16, int i17, int i18, double d19, double d20,
                             const char* s21, const char* s22, const char* s23);

STATS_EXPORT void SetupSet0(void);

// The host's StatsGetExchgCount0 and StatsIsValidExchg0.
STATS_EXPORT int GetExchgCount0(const char* s1, const char* s2, const char* s3);
STATS_EXPORT int IsValidExchg0(const char* text, const char* s2, const char* reference,
                               const char* s4, int i5, int i6, int fieldIndex);

}  // extern "C"

// The one statistics set.
inline constexpr char kSetName[] = "KOVA-BRAWLCUP";
