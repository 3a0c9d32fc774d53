// The Cabrillo header form's model: its 22 values (the header record), the
// list items of its list fields and the rules by which values go into the
// fields and come back.
//
// The Windows dialog (template 101) only binds controls to this model, so every
// rule here is tested natively. Lives on the host's thread for one report run.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "contest/header_fields.h"

class Cabrillo : public CabrilloHeader {
 public:
  // Control ids of template 101.
  static constexpr int kIdSoapbox = 1001;
  static constexpr int kIdAddress = 1002;
  static constexpr int kIdAddressCountry = 1003;
  static constexpr int kIdEmail = 1004;
  static constexpr int kIdClub = 1005;
  static constexpr int kIdOperators = 1006;
  static constexpr int kIdName = 1007;
  static constexpr int kIdClaimed = 1008;
  static constexpr int kIdContest = 1009;
  static constexpr int kIdCallsign = 1010;
  static constexpr int kIdAddressPostalCode = 1011;
  static constexpr int kIdAddressState = 1012;
  static constexpr int kIdCatOperator = 1013;
  static constexpr int kIdAddressCity = 1014;
  static constexpr int kIdCatTransmitter = 1015;
  static constexpr int kIdCatStation = 1016;
  static constexpr int kIdCatPower = 1017;
  static constexpr int kIdCatMode = 1018;
  static constexpr int kIdCatBand = 1019;
  static constexpr int kIdCatAssisted = 1020;
  static constexpr int kIdCatOverlay = 1021;
  static constexpr int kIdLocation = 1022;

  // The list fields in the order their items are filled when the form opens,
  // before any value is loaded.
  static constexpr std::array<int, 9> kListFillOrder = {
      kIdCatOperator, kIdCatTransmitter, kIdCatStation, kIdCatPower, kIdCatMode,
      kIdCatBand,     kIdCatAssisted,    kIdCatOverlay, kIdLocation};

  // The items of a list field in their order; empty for any other control.
  static const std::vector<std::string>& Items(int controlId);

  struct Field {
    int controlId;
    std::string CabrilloHeader::*member;
    const std::vector<std::string>* items;  // null for edit fields
    bool takenBack;                         // false only for CLAIMED
  };

  // The fields in value-exchange order.
  static const std::array<Field, kCabrilloHeaderFieldCount>& Fields();

  // Index of the first item beginning with `value` (case-insensitive), or -1;
  // -1 also for an empty value and for edit fields.
  static int SelectedItem(const Field& field, const std::string& value);

  // What each control shows when the form opens, by control id: an edit field
  // shows its member; a list field the selected item, else the member as is.
  std::map<int, std::string> OpeningTexts() const;
  std::string OpeningText(const Field& field) const;

  // OK: every member but CLAIMED takes the text its control shows. A control
  // missing from `shownTexts` leaves its member as loaded.
  void TakeBack(const std::map<int, std::string>& shownTexts);
};
