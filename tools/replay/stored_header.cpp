#include "tools/replay/stored_header.h"

CabrilloHeader ReadStoredHeader(const Settings& settings, const std::string& ownCall) {
  CabrilloHeader header;
  header.m_callsign = ownCall;
  header.m_operators = ownCall;
  header.m_location = header_default::kLocation;
  for (const StoredHeaderField& field : kStoredHeaderFields) {
    header.*field.member = settings.Read(field.key, header.*field.member);
  }
  header.m_claimed = settings.Read(settings_key::kClaimed);
  return header;
}
