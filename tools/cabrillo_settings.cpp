#include "tools/cabrillo_settings.h"

#include "platform/profile.h"

namespace {

// Settings keys of the header form.
constexpr char kKeyOperators[] = "Operators";
constexpr char kKeyName[] = "Name";
constexpr char kKeyAddress[] = "Address";
constexpr char kKeyAddressCity[] = "Address-City";
constexpr char kKeyAddressState[] = "Address-State";
constexpr char kKeyAddressPostalCode[] = "Address-PostalCode";
constexpr char kKeyAddressCountry[] = "Address-Country";
constexpr char kKeyEmail[] = "Email";
constexpr char kKeyClub[] = "Club";
constexpr char kKeyLocation[] = "Location";
constexpr char kKeySoapBox[] = "SoapBox";
constexpr char kKeyClaimed[] = "Claimed";

}  // namespace

CabrilloSettings ReadCabrilloSettings(const std::string& path, const std::string& ownCall) {
  auto read = [&](const char* key, const std::string& fallback) {
    return ProfileReadString(path, kCabrilloSettingsSection, key, fallback);
  };
  CabrilloSettings s;
  s.operators = read(kKeyOperators, ownCall);
  s.name = read(kKeyName, "");
  s.address = read(kKeyAddress, "");
  s.addressCity = read(kKeyAddressCity, "");
  s.addressState = read(kKeyAddressState, "");
  s.addressPostalCode = read(kKeyAddressPostalCode, "");
  s.addressCountry = read(kKeyAddressCountry, "");
  s.email = read(kKeyEmail, "");
  s.club = read(kKeyClub, "");
  s.location = read(kKeyLocation, kCabrilloDefaultLocation);
  s.soapbox = read(kKeySoapBox, "");
  s.claimed = read(kKeyClaimed, "");
  return s;
}
