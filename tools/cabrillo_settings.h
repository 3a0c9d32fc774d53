// The header values of a Cabrillo 3.0 log as the plug-in's header form keeps
// them in its settings file, read through the profile functions. Call from
// one thread at a time with the plug-in's own writes (the file is not locked).
#pragma once

#include <string>

// The settings file the plug-in's header form keeps, relative to the folder the
// plug-in writes in, and its section.
inline constexpr char kCabrilloSettingsPath[] = "Plugins\\KOVA-BRAWLCUP.ini";
inline constexpr char kCabrilloSettingsSection[] = "Settings";

// The header values as the settings file holds them: the address and the
// soapbox still carry their "<CR>" and "<LF>" markers, empty means not stored.
struct CabrilloSettings {
  std::string operators;
  std::string name;
  std::string address;
  std::string addressCity;
  std::string addressState;
  std::string addressPostalCode;
  std::string addressCountry;
  std::string email;
  std::string club;
  std::string location;
  std::string soapbox;
  std::string claimed;
};

// Where the header form starts when nothing is stored.
inline constexpr char kCabrilloDefaultLocation[] = "DX";

// Reads the keys the header form stores (and "Claimed", which the score request
// writes) from the settings file at `path`. Missing keys read as the form's
// defaults: Operators is the own callsign, Location "DX", the others empty.
CabrilloSettings ReadCabrilloSettings(const std::string& path, const std::string& ownCall);
