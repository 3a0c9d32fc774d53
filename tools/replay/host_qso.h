// One ADIF record turned into the values the host passes to AddData0: the
// host's band and mode names, the frequency in hertz, its date-time value and
// the WPX prefix it works out itself. Pure functions; safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/replay/adif.h"
#include "tools/common/contest_time.h"
#include "tools/common/host_contact.h"

// Builds the QSO of one record. False, with a warning, for a record the host
// could not have logged (no CALL); every other flaw is warned about and the
// QSO is built with what is left.
bool MapRecord(const AdifRecord& record, HostContact& out, std::vector<AdifWarning>& warnings);

// The log's own callsign: the first STATION_CALLSIGN of a record or of the
// header, else the first OPERATOR. Empty when the log names neither.
std::string OwnCallOf(const AdifLog& log);

// An ADIF frequency in MHz ("14.08") in hertz, read as an exact decimal and
// rounded to the nearest hertz (half up). Empty for anything but an unsigned
// decimal number.
std::optional<std::uint64_t> ParseFrequencyHz(std::string_view mhz);

// The ADIF band holding a frequency, in the host's lower-case spelling ("20m"),
// or empty outside every band.
std::string BandOfFrequency(std::uint64_t hertz);

// The mode name the host uses for an ADIF MODE and SUBMODE (any case).
std::string HostModeOfAdif(std::string_view mode, std::string_view submode);
