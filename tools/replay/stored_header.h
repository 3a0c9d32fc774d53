// The Cabrillo header values the plug-in's header form keeps in the settings
// file, read through the contest's settings module. Call from one thread at a
// time with the plug-in's own writes (the file is not locked).
#pragma once

#include <string>

#include "contest/header_fields.h"
#include "contest/settings.h"

// The values the header form stores, and "Claimed", which the score request
// writes, as the settings file holds them: the address and the soapbox still
// carry their "<CR>" and "<LF>" markers. A value not stored reads as the form
// starts it: Operators is the own callsign, Location "DX", the others empty.
// The callsign is `ownCall`; the categories are left empty (the form does not
// store them).
CabrilloHeader ReadStoredHeader(const Settings& settings, const std::string& ownCall);
