// The plug-in's settings: section "Settings" of "Plugins\KOVA-BRAWLCUP.ini".
//
// Every read and write goes to the file at once (through platform/profile.h);
// nothing is cached, so both threads may use one Settings object.
#pragma once

#include <string>

namespace settings_key {
inline constexpr char kMaster[] = "Master";
inline constexpr char kMode[] = "mode";
inline constexpr char kStart[] = "Start";
inline constexpr char kClaimed[] = "Claimed";
inline constexpr char kOperators[] = "Operators";
inline constexpr char kName[] = "Name";
inline constexpr char kAddress[] = "Address";
inline constexpr char kAddressCity[] = "Address-City";
inline constexpr char kAddressState[] = "Address-State";
inline constexpr char kAddressPostalCode[] = "Address-PostalCode";
inline constexpr char kAddressCountry[] = "Address-Country";
inline constexpr char kEmail[] = "Email";
inline constexpr char kClub[] = "Club";
inline constexpr char kSoapBox[] = "SoapBox";
inline constexpr char kLocation[] = "Location";
inline constexpr char kContest[] = "Contest";
inline constexpr char kDxccX[] = "dxcc_x";
inline constexpr char kDxccY[] = "dxcc_y";
inline constexpr char kModeX[] = "mode_x";
inline constexpr char kModeY[] = "mode_y";
inline constexpr char kPref[] = "Pref";
}  // namespace settings_key

inline constexpr char kSettingsPath[] = "Plugins\\KOVA-BRAWLCUP.ini";
inline constexpr char kSettingsSection[] = "Settings";

// Leading decimal integer of a text: blanks skipped, optional sign, digits up
// to the first other character; empty or non-numeric text gives 0. Values past
// the int range saturate instead of wrapping.
int LeadingInt(const std::string& text);

class Settings {
 public:
  Settings(std::string path = kSettingsPath, std::string section = kSettingsSection);

  // At most 99 characters; `fallback` when the key, section or file is missing.
  std::string Read(const char* key, const std::string& fallback = std::string()) const;
  void Write(const char* key, const std::string& value) const;

  int ReadNumber(const char* key) const;
  // "%i" and radix-10 conversion give the same text for every int.
  void WriteNumber(const char* key, int value) const;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string section_;
};
