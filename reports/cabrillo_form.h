// The Cabrillo header form's model: its 22 values, the list items of its list
// fields and the rules by which values go into the fields and come back.
//
// The Windows dialog (template 101) only binds controls to this model, so every
// rule here is tested natively. Lives on the host's thread for one report run.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

class Cabrillo {
 public:
  // Members in declared order.
  std::string m_callsign;
  std::string m_claimed;
  std::string m_club;
  std::string m_catOperator;
  std::string m_contest;
  std::string m_email;
  std::string m_name;
  std::string m_operators;
  std::string m_soapbox;
  std::string m_address;
  std::string m_catAssisted;
  std::string m_catBand;
  std::string m_catMode;
  std::string m_catPower;
  std::string m_catTransmitter;
  std::string m_addressCity;
  std::string m_addressCountry;
  std::string m_catStation;
  std::string m_addressPostalCode;
  std::string m_addressState;
  std::string m_catOverlay;
  std::string m_location;

  struct Field {
    int controlId;
    std::string Cabrillo::*member;
    const std::vector<std::string>* items;  // null for edit fields
    bool takenBack;                         // false only for CLAIMED
  };

  // The fields in value-exchange order.
  static const std::array<Field, 22>& Fields();

  // Index of the first item beginning with `value` (case-insensitive), or -1.
  static int SelectedItem(const Field& field, const std::string& value);

  // What each control shows when the form opens, by control id: an edit field
  // shows its member; a list field the selected item, else the member as is.
  std::map<int, std::string> OpeningTexts() const;

  // OK: every member but CLAIMED takes the text its control shows.
  void TakeBack(const std::map<int, std::string>& shownTexts);
};
