// The Cabrillo header values of a report run: the entrant's data and entry
// categories that the report record gathers, the header form shows and the
// settings file keeps. One record type serves the report, the form and the
// tools, so a field is named in one place.
//
// Plain data; used on whichever thread owns the record.
#pragma once

#include <array>
#include <string>

#include "contest/settings.h"

struct CabrilloHeader {
  std::string m_callsign;
  std::string m_name;
  std::string m_address;
  std::string m_claimed;
  std::string m_contest;
  std::string m_email;
  std::string m_club;
  std::string m_soapbox;
  std::string m_operators;
  std::string m_catOperator;
  std::string m_catAssisted;
  std::string m_catStation;
  std::string m_catBand;
  std::string m_catMode;
  std::string m_catPower;
  std::string m_catTransmitter;
  std::string m_addressCity;
  std::string m_addressState;
  std::string m_addressPostalCode;
  std::string m_addressCountry;
  std::string m_catOverlay;
  std::string m_location;
};

inline constexpr int kCabrilloHeaderFieldCount = 22;

// What a report run starts every entry from, whatever was confirmed before.
// The contest name carries one trailing blank, as operators know the form.
namespace header_default {
inline constexpr char kContest[] = "KOVA-BRAWLCUP ";
inline constexpr char kCatOperator[] = "SINGLE-OP";
inline constexpr char kCatBand[] = "ALL";
inline constexpr char kCatMode[] = "RTTY";
inline constexpr char kCatPower[] = "HIGH";
inline constexpr char kCatTransmitter[] = "ONE";
inline constexpr char kCatStation[] = "FIXED";
inline constexpr char kCatAssisted[] = "NON-ASSISTED";
inline constexpr char kLocation[] = "DX";
}  // namespace header_default

// A header value the settings file keeps.
struct StoredHeaderField {
  const char* key;
  std::string CabrilloHeader::*member;
};

// The values a confirmed header form stores, in the order they are written.
// The callsign, the claimed score (the score request writes that), the
// categories and the overlay are not stored.
inline constexpr std::array<StoredHeaderField, 12> kStoredHeaderFields = {{
    {settings_key::kOperators, &CabrilloHeader::m_operators},
    {settings_key::kName, &CabrilloHeader::m_name},
    {settings_key::kAddress, &CabrilloHeader::m_address},
    {settings_key::kAddressCity, &CabrilloHeader::m_addressCity},
    {settings_key::kAddressState, &CabrilloHeader::m_addressState},
    {settings_key::kAddressPostalCode, &CabrilloHeader::m_addressPostalCode},
    {settings_key::kAddressCountry, &CabrilloHeader::m_addressCountry},
    {settings_key::kContest, &CabrilloHeader::m_contest},
    {settings_key::kEmail, &CabrilloHeader::m_email},
    {settings_key::kClub, &CabrilloHeader::m_club},
    {settings_key::kLocation, &CabrilloHeader::m_location},
    {settings_key::kSoapBox, &CabrilloHeader::m_soapbox},
}};
