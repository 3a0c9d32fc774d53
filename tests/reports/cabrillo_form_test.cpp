#include "reports/cabrillo_form.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Items = std::vector<std::string>;

const Cabrillo::Field& FieldOf(int controlId) {
  for (const Cabrillo::Field& f : Cabrillo::Fields()) {
    if (f.controlId == controlId) {
      return f;
    }
  }
  throw std::runtime_error("no field " + std::to_string(controlId));
}

TEST(CabrilloFormTest, FieldsComeInValueExchangeOrderWithTheirControls) {
  const std::vector<std::pair<int, std::string Cabrillo::*>> expected = {
      {1010, &Cabrillo::m_callsign},
      {1008, &Cabrillo::m_claimed},
      {1005, &Cabrillo::m_club},
      {1013, &Cabrillo::m_catOperator},
      {1009, &Cabrillo::m_contest},
      {1004, &Cabrillo::m_email},
      {1007, &Cabrillo::m_name},
      {1006, &Cabrillo::m_operators},
      {1001, &Cabrillo::m_soapbox},
      {1002, &Cabrillo::m_address},
      {1020, &Cabrillo::m_catAssisted},
      {1019, &Cabrillo::m_catBand},
      {1018, &Cabrillo::m_catMode},
      {1017, &Cabrillo::m_catPower},
      {1015, &Cabrillo::m_catTransmitter},
      {1014, &Cabrillo::m_addressCity},
      {1003, &Cabrillo::m_addressCountry},
      {1016, &Cabrillo::m_catStation},
      {1011, &Cabrillo::m_addressPostalCode},
      {1012, &Cabrillo::m_addressState},
      {1021, &Cabrillo::m_catOverlay},
      {1022, &Cabrillo::m_location},
  };
  const auto& fields = Cabrillo::Fields();
  ASSERT_EQ(expected.size(), fields.size());
  const std::set<int> lists = {1013, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(expected[i].first, fields[i].controlId) << "at position " << i;
    EXPECT_TRUE(expected[i].second == fields[i].member) << "member of " << fields[i].controlId;
    EXPECT_EQ(lists.count(fields[i].controlId) == 1, fields[i].items != nullptr)
        << "list field or not: " << fields[i].controlId;
    EXPECT_EQ(fields[i].controlId != 1008, fields[i].takenBack) << fields[i].controlId;
  }
}

TEST(CabrilloFormTest, ListFieldsHoldTheirItemsInOrder) {
  EXPECT_EQ((Items{"SINGLE-OP", "MULTI-OP", "CHECKLOG"}), *FieldOf(1013).items);
  EXPECT_EQ((Items{"ONE", "TWO", "UNLIMITED"}), *FieldOf(1015).items);
  EXPECT_EQ((Items{"FIXED"}), *FieldOf(1016).items);
  EXPECT_EQ((Items{"HIGH", "LOW", "GREAT", "QRP"}), *FieldOf(1017).items);
  EXPECT_EQ((Items{"HELL", "MFSK", "MT63", "PSK", "RTTY", "THROB", "SSTV", "MIXED"}),
            *FieldOf(1018).items);
  EXPECT_EQ((Items{"ALL", "80M", "40M", "20M", "15M", "10M"}), *FieldOf(1019).items);
  EXPECT_EQ((Items{"ASSISTED", "NON-ASSISTED"}), *FieldOf(1020).items);
  EXPECT_EQ((Items{"TB-WIRES", "ROOKIE"}), *FieldOf(1021).items);
  const Items location = {"DX", "-/-", "AL", "AK",  "AZ", "AR", "CA", "CO", "CT", "DE", "FL",
                          "GA", "ID",  "IL", "IN",  "IA", "KS", "KY", "LA", "ME", "MA", "MI",
                          "MN", "MS",  "MO", "MT",  "NE", "NV", "NH", "NJ", "NM", "NY", "NC",
                          "ND", "OH",  "OK", "OR",  "PA", "RI", "SC", "SD", "TN", "TX", "UT",
                          "VT", "VA",  "WA", "WV",  "WI", "WY", "NB", "NS", "QC", "ON", "MB",
                          "SK", "AB",  "BC", "NWT", "NF", "LB", "NU", "YT", "PEI"};
  ASSERT_EQ(64u, location.size());
  EXPECT_EQ(location, *FieldOf(1022).items);
  EXPECT_EQ(location, Cabrillo::Items(1022)) << "the lookup by id gives the same list";
  EXPECT_TRUE(Cabrillo::Items(1010).empty()) << "an edit field has no items";

  const std::array<int, 9> fillOrder = {1013, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022};
  EXPECT_EQ(fillOrder, Cabrillo::kListFillOrder);
}

TEST(CabrilloFormTest, ListFieldSelectsTheFirstItemThatBeginsWithTheText) {
  const Cabrillo::Field& overlay = FieldOf(1021);
  EXPECT_EQ(1, Cabrillo::SelectedItem(overlay, "rookie")) << "letter case is ignored";
  EXPECT_EQ(0, Cabrillo::SelectedItem(overlay, "T")) << "a beginning is enough";
  EXPECT_EQ(-1, Cabrillo::SelectedItem(overlay, "ROOKIES")) << "longer than every item";
  EXPECT_EQ(-1, Cabrillo::SelectedItem(overlay, "")) << "an empty text selects nothing";
  EXPECT_EQ(-1, Cabrillo::SelectedItem(overlay, "WIRES")) << "only beginnings count";

  const Cabrillo::Field& mode = FieldOf(1018);
  EXPECT_EQ(1, Cabrillo::SelectedItem(mode, "m")) << "MFSK comes before MT63 and MIXED";
  EXPECT_EQ(2, Cabrillo::SelectedItem(mode, "mt"));
  EXPECT_EQ(-1, Cabrillo::SelectedItem(FieldOf(1019), "160M"));
  EXPECT_EQ(-1, Cabrillo::SelectedItem(FieldOf(1007), "NAME")) << "an edit field never selects";
  EXPECT_EQ(62, Cabrillo::SelectedItem(FieldOf(1022), "YT"));
  EXPECT_EQ(26, Cabrillo::SelectedItem(FieldOf(1022), "N")) << "NE is the first N item";
}

TEST(CabrilloFormTest, OpeningShowsSelectedItemsOrTheTextAsTyped) {
  Cabrillo form;
  form.m_callsign = "Q1AB";
  form.m_catOverlay = "rookie";
  form.m_catBand = "160M";
  form.m_catPower = "low";
  form.m_location = "pe";
  form.m_name = "low";
  form.m_soapbox = "abc\r\ndef";
  const std::map<int, std::string> shown = form.OpeningTexts();
  ASSERT_EQ(22u, shown.size());
  EXPECT_EQ("Q1AB", shown.at(1010));
  EXPECT_EQ("ROOKIE", shown.at(1021));
  EXPECT_EQ("160M", shown.at(1019)) << "no item begins with it: shown as typed";
  EXPECT_EQ("LOW", shown.at(1017));
  EXPECT_EQ("PEI", shown.at(1022));
  EXPECT_EQ("low", shown.at(1007)) << "edit fields show the member unchanged";
  EXPECT_EQ("abc\r\ndef", shown.at(1001));
  EXPECT_EQ("", shown.at(1013)) << "an empty member leaves the list field empty";
}

TEST(CabrilloFormTest, OkTakesBackWhatEveryFieldShowsButTheClaimedScore) {
  Cabrillo form;
  form.m_claimed = "120";
  form.m_catOverlay = "t";
  std::map<int, std::string> shown = form.OpeningTexts();
  int n = 0;
  for (auto& [id, text] : shown) {
    text = "v" + std::to_string(id);
    ++n;
  }
  ASSERT_EQ(22, n);
  form.TakeBack(shown);
  EXPECT_EQ("120", form.m_claimed) << "CLAIMED is never taken back";
  for (const Cabrillo::Field& f : Cabrillo::Fields()) {
    if (f.controlId != 1008) {
      EXPECT_EQ("v" + std::to_string(f.controlId), form.*f.member) << f.controlId;
    }
  }

  Cabrillo unchanged;
  unchanged.m_catOverlay = "t";
  unchanged.TakeBack(unchanged.OpeningTexts());
  EXPECT_EQ("TB-WIRES", unchanged.m_catOverlay) << "OK takes back the selected item's text";
}

}  // namespace
