// The header form's model: list items, the order in which values meet their
// controls, and the selection rule of a list field.
//
// The selection rule is the one the Windows combo box applies when a dialog
// loads a text into it (CB_SELECTSTRING from the top): the first item that
// begins with the text, letter case ignored; an empty text selects nothing.
#include "reports/cabrillo_form.h"

#include <iterator>
#include <string_view>

#include "platform/text.h"

namespace {

constexpr std::string_view kOperatorItems[] = {"SINGLE-OP", "MULTI-OP", "CHECKLOG"};
constexpr std::string_view kTransmitterItems[] = {"ONE", "TWO", "UNLIMITED"};
constexpr std::string_view kStationItems[] = {"FIXED"};
constexpr std::string_view kPowerItems[] = {"HIGH", "LOW", "GREAT", "QRP"};
constexpr std::string_view kModeItems[] = {"HELL", "MFSK",  "MT63", "PSK",
                                           "RTTY", "THROB", "SSTV", "MIXED"};
constexpr std::string_view kBandItems[] = {"ALL", "80M", "40M", "20M", "15M", "10M"};
constexpr std::string_view kAssistedItems[] = {"ASSISTED", "NON-ASSISTED"};
constexpr std::string_view kOverlayItems[] = {"TB-WIRES", "ROOKIE"};
// "DX" and "-/-", then 48 United States and 14 Canadian codes, in the order
// the contest lists them (not alphabetical).
constexpr std::string_view kLocationItems[] = {
    "DX", "-/-", "AL", "AK", "AZ", "AR", "CA",  "CO", "CT", "DE", "FL", "GA", "ID",
    "IL", "IN",  "IA", "KS", "KY", "LA", "ME",  "MA", "MI", "MN", "MS", "MO", "MT",
    "NE", "NV",  "NH", "NJ", "NM", "NY", "NC",  "ND", "OH", "OK", "OR", "PA", "RI",
    "SC", "SD",  "TN", "TX", "UT", "VT", "VA",  "WA", "WV", "WI", "WY", "NB", "NS",
    "QC", "ON",  "MB", "SK", "AB", "BC", "NWT", "NF", "LB", "NU", "YT", "PEI"};
static_assert(std::size(kLocationItems) == 64, "DX, -/-, 48 states and 14 Canadian codes");

template <std::size_t N>
std::vector<std::string> ToList(const std::string_view (&items)[N]) {
  return std::vector<std::string>(std::begin(items), std::end(items));
}

}  // namespace

const std::vector<std::string>& Cabrillo::Items(int controlId) {
  static const std::vector<std::string> kNone;
  static const std::vector<std::string> kOperator = ToList(kOperatorItems);
  static const std::vector<std::string> kTransmitter = ToList(kTransmitterItems);
  static const std::vector<std::string> kStation = ToList(kStationItems);
  static const std::vector<std::string> kPower = ToList(kPowerItems);
  static const std::vector<std::string> kMode = ToList(kModeItems);
  static const std::vector<std::string> kBand = ToList(kBandItems);
  static const std::vector<std::string> kAssisted = ToList(kAssistedItems);
  static const std::vector<std::string> kOverlay = ToList(kOverlayItems);
  static const std::vector<std::string> kLocation = ToList(kLocationItems);
  switch (controlId) {
    case kIdCatOperator:
      return kOperator;
    case kIdCatTransmitter:
      return kTransmitter;
    case kIdCatStation:
      return kStation;
    case kIdCatPower:
      return kPower;
    case kIdCatMode:
      return kMode;
    case kIdCatBand:
      return kBand;
    case kIdCatAssisted:
      return kAssisted;
    case kIdCatOverlay:
      return kOverlay;
    case kIdLocation:
      return kLocation;
    default:
      return kNone;
  }
}

const std::array<Cabrillo::Field, kCabrilloHeaderFieldCount>& Cabrillo::Fields() {
  static const std::array<Field, kCabrilloHeaderFieldCount> kFields = {{
      {kIdCallsign, &Cabrillo::m_callsign, nullptr, true},
      {kIdClaimed, &Cabrillo::m_claimed, nullptr, false},
      {kIdClub, &Cabrillo::m_club, nullptr, true},
      {kIdCatOperator, &Cabrillo::m_catOperator, &Items(kIdCatOperator), true},
      {kIdContest, &Cabrillo::m_contest, nullptr, true},
      {kIdEmail, &Cabrillo::m_email, nullptr, true},
      {kIdName, &Cabrillo::m_name, nullptr, true},
      {kIdOperators, &Cabrillo::m_operators, nullptr, true},
      {kIdSoapbox, &Cabrillo::m_soapbox, nullptr, true},
      {kIdAddress, &Cabrillo::m_address, nullptr, true},
      {kIdCatAssisted, &Cabrillo::m_catAssisted, &Items(kIdCatAssisted), true},
      {kIdCatBand, &Cabrillo::m_catBand, &Items(kIdCatBand), true},
      {kIdCatMode, &Cabrillo::m_catMode, &Items(kIdCatMode), true},
      {kIdCatPower, &Cabrillo::m_catPower, &Items(kIdCatPower), true},
      {kIdCatTransmitter, &Cabrillo::m_catTransmitter, &Items(kIdCatTransmitter), true},
      {kIdAddressCity, &Cabrillo::m_addressCity, nullptr, true},
      {kIdAddressCountry, &Cabrillo::m_addressCountry, nullptr, true},
      {kIdCatStation, &Cabrillo::m_catStation, &Items(kIdCatStation), true},
      {kIdAddressPostalCode, &Cabrillo::m_addressPostalCode, nullptr, true},
      {kIdAddressState, &Cabrillo::m_addressState, nullptr, true},
      {kIdCatOverlay, &Cabrillo::m_catOverlay, &Items(kIdCatOverlay), true},
      // Exchanged first as text and then as a list field; the list exchange
      // decides what is shown, so it is a list field here.
      {kIdLocation, &Cabrillo::m_location, &Items(kIdLocation), true},
  }};
  return kFields;
}

int Cabrillo::SelectedItem(const Field& field, const std::string& value) {
  if (field.items == nullptr || value.empty()) {
    return -1;
  }
  for (std::size_t i = 0; i < field.items->size(); ++i) {
    if (StartsWithNoCase((*field.items)[i], value)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string Cabrillo::OpeningText(const Field& field) const {
  const std::string& value = this->*field.member;
  const int item = SelectedItem(field, value);
  return item >= 0 ? (*field.items)[static_cast<std::size_t>(item)] : value;
}

std::map<int, std::string> Cabrillo::OpeningTexts() const {
  std::map<int, std::string> shown;
  for (const Field& field : Fields()) {
    shown[field.controlId] = OpeningText(field);
  }
  return shown;
}

void Cabrillo::TakeBack(const std::map<int, std::string>& shownTexts) {
  for (const Field& field : Fields()) {
    if (!field.takenBack) {
      continue;
    }
    const auto shown = shownTexts.find(field.controlId);
    if (shown != shownTexts.end()) {
      this->*field.member = shown->second;
    }
  }
}
