// The header form's template (101) as the system builds it: the frame, the
// font, every field's kind, place and size, its label, and which fields are
// tab stops. Positions are compared in dialog units converted the way the
// dialog manager converts them, so the check holds whatever the font.
#include <windows.h>

#include <set>
#include <string>

#include "../platform/dialog_template_win32.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

using namespace dialog_template;

enum class Kind { kEdit, kFixedWidthEdit, kMultiLineEdit, kListField };

struct FieldRow {
  int id;
  Kind kind;
  const char* label;
  int labelX, labelY;
  int x, y, width, height;  // for a list field the height is the open list's
};

constexpr FieldRow kFields[] = {
    {1009, Kind::kEdit, "CONTEST", 10, 10, 55, 9, 190, 12},
    {1010, Kind::kEdit, "CALLSIGN", 9, 25, 55, 23, 88, 12},
    {1008, Kind::kEdit, "CLAIMED", 149, 25, 184, 23, 61, 12},
    {1013, Kind::kListField, "CATEGORY-OPERATOR", 9, 41, 105, 38, 114, 47},
    {1020, Kind::kListField, "CATEGORY-ASSISTED", 10, 55, 105, 52, 113, 39},
    {1019, Kind::kListField, "CATEGORY-BAND", 10, 70, 105, 67, 113, 78},
    {1018, Kind::kListField, "CATEGORY-MODE", 10, 83, 105, 82, 113, 47},
    {1017, Kind::kListField, "CATEGORY-POWER", 10, 98, 105, 95, 113, 47},
    {1016, Kind::kListField, "CATEGORY-STATION", 10, 111, 105, 108, 113, 15},
    {1015, Kind::kListField, "CATEGORY-TRANSMITTER", 10, 125, 105, 122, 113, 40},
    {1021, Kind::kListField, "CATEGORY-OVERLAY", 10, 137, 105, 134, 113, 40},
    {1007, Kind::kEdit, "NAME", 10, 153, 55, 150, 191, 12},
    {1002, Kind::kFixedWidthEdit, "ADDRESS", 9, 166, 55, 163, 191, 13},
    {1014, Kind::kFixedWidthEdit, "ADDRESS-CITY", 9, 181, 119, 177, 127, 13},
    {1012, Kind::kFixedWidthEdit, "ADDRESS-STATE-PROVINCE", 10, 193, 119, 191, 127, 13},
    {1011, Kind::kFixedWidthEdit, "ADDRESS-POSTALCODE", 10, 207, 119, 205, 127, 13},
    {1003, Kind::kFixedWidthEdit, "ADDRESS-COUNTRY", 10, 222, 89, 219, 158, 13},
    {1006, Kind::kEdit, "OPERATORS", 10, 236, 55, 233, 191, 12},
    {1005, Kind::kEdit, "CLUB", 10, 249, 55, 247, 191, 12},
    {1022, Kind::kListField, "LOCATION", 10, 262, 55, 259, 32, 66},
    {1001, Kind::kMultiLineEdit, "SOAPBOX", 10, 285, 55, 273, 191, 31},
    {1004, Kind::kEdit, "E-MAIL", 10, 307, 55, 305, 191, 12},
};

class CabrilloTemplateTest : public ::testing::Test {
 protected:
  BuiltTemplate form_{IDD_CABRILLO};
  HWND dialog() const { return form_.hwnd(); }

  void ExpectAt(HWND control, int x, int y, const std::string& what) {
    const RECT placed = PlacedRect(dialog(), control);
    const POINT want = UnitsToPixels(dialog(), x, y);
    EXPECT_EQ(want.x, placed.left) << what << ": left edge";
    EXPECT_EQ(want.y, placed.top) << what << ": top edge";
  }
};

TEST_F(CabrilloTemplateTest, FrameCaptionFontAndSize) {
  ASSERT_NE(nullptr, dialog());
  EXPECT_EQ("KOVA-BRAWLCUP", TextOf(dialog()));
  const DWORD style = StyleOf(dialog());
  for (DWORD bit : {DWORD{WS_POPUP}, DWORD{WS_CAPTION}, DWORD{WS_SYSMENU},
                       DWORD{WS_MINIMIZEBOX}, DWORD{WS_MAXIMIZEBOX}}) {
    EXPECT_EQ(bit, style & bit) << "window style bit " << std::hex << bit;
  }
  EXPECT_NE(0, ExStyleOf(dialog()) & WS_EX_DLGMODALFRAME)
      << "a modal frame";
  EXPECT_EQ(0, style & WS_VISIBLE) << "the form shows only once it is run";

  const LOGFONTA font = DialogFont(dialog());
  EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
  EXPECT_EQ(PointsToHeight(8), font.lfHeight);

  RECT client = {};
  GetClientRect(dialog(), &client);
  const SIZE want = SizeToPixels(dialog(), 255, 361);
  EXPECT_EQ(want.cx, client.right);
  EXPECT_EQ(want.cy, client.bottom);
}

TEST_F(CabrilloTemplateTest, EveryFieldHasItsKindPlaceSizeAndLabel) {
  ASSERT_NE(nullptr, dialog());
  LONG firstShortfall = -1;
  for (const FieldRow& row : kFields) {
    const std::string what = std::string(row.label) + " (" + std::to_string(row.id) + ")";
    HWND field = GetDlgItem(dialog(), row.id);
    ASSERT_NE(nullptr, field) << what;
    const DWORD style = StyleOf(field);
    const SIZE size = SizeToPixels(dialog(), row.width, row.height);
    const RECT placed = PlacedRect(dialog(), field);
    ExpectAt(field, row.x, row.y, what);
    EXPECT_EQ(size.cx, placed.right - placed.left) << what << ": width";

    if (row.kind == Kind::kListField) {
      EXPECT_STREQ("ComboBox", ClassOf(field).c_str()) << what;
      EXPECT_EQ(CBS_DROPDOWN, style & 3) << what << ": editable drop-down list";
      EXPECT_EQ(0, style & CBS_SORT) << what << ": items stay in their order";
      // Windows' open rectangle spans the text part and the list, Wine's
      // only the list (less the text part and its frame): either way every
      // list field falls short of its template height by the same amount.
      RECT open = {};
      SendMessageA(field, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&open));
      const LONG shortfall = size.cy - (open.bottom - open.top);
      if (firstShortfall < 0) {
        firstShortfall = shortfall;
      }
      EXPECT_EQ(firstShortfall, shortfall)
          << what << ": open height " << open.bottom - open.top << ", template height "
          << size.cy;
      EXPECT_LE(shortfall, 2 * (placed.bottom - placed.top)) << what;
    } else {
      EXPECT_STREQ("Edit", ClassOf(field).c_str()) << what;
      EXPECT_EQ(size.cy, placed.bottom - placed.top) << what << ": height";
      // The dialog manager draws an edit field's border as a sunken edge.
      EXPECT_TRUE((style & WS_BORDER) != 0 ||
                  (ExStyleOf(field) & WS_EX_CLIENTEDGE) != 0)
          << what << ": bordered";
      const bool multiLine = row.kind == Kind::kMultiLineEdit;
      EXPECT_EQ(multiLine, (style & ES_MULTILINE) != 0) << what << ": multi-line";
      if (multiLine) {
        EXPECT_NE(0, style & WS_VSCROLL) << what << ": vertical scroll bar";
        EXPECT_NE(0, style & ES_AUTOVSCROLL) << what << ": scrolls as lines are added";
        EXPECT_NE(0, style & ES_WANTRETURN) << what << ": Enter starts a new line";
        EXPECT_EQ(0, style & ES_AUTOHSCROLL) << what << ": long lines wrap";
      } else {
        EXPECT_EQ(row.kind == Kind::kEdit, (style & ES_AUTOHSCROLL) != 0)
            << what << ": scrolls sideways unless it is of fixed width";
      }
    }

    HWND label = LabelWithText(dialog(), row.label);
    ASSERT_NE(nullptr, label) << what << ": label";
    ExpectAt(label, row.labelX, row.labelY, what + " label");
  }
}

TEST_F(CabrilloTemplateTest, OnlyTheSoapboxAndTheListFieldsAreTabStops) {
  ASSERT_NE(nullptr, dialog());
  std::set<int> tabStops;
  for (HWND child : Children(dialog())) {
    if ((StyleOf(child) & WS_TABSTOP) != 0) {
      tabStops.insert(GetDlgCtrlID(child));
    }
  }
  const std::set<int> want = {1001, 1013, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022};
  EXPECT_EQ(want, tabStops);
}

TEST_F(CabrilloTemplateTest, OkAndCancelButtons) {
  ASSERT_NE(nullptr, dialog());
  struct Button {
    int id;
    const char* text;
    int x, y, width, height;
  };
  for (const Button& b : {Button{IDOK, "OK", 80, 320, 51, 21},
                          Button{IDCANCEL, "CANCEL", 145, 320, 46, 21}}) {
    HWND button = GetDlgItem(dialog(), b.id);
    ASSERT_NE(nullptr, button) << b.text;
    EXPECT_STREQ("Button", ClassOf(button).c_str());
    EXPECT_EQ(b.text, TextOf(button));
    EXPECT_EQ(BS_PUSHBUTTON, StyleOf(button) & BS_TYPEMASK) << b.text;
    ExpectAt(button, b.x, b.y, b.text);
    const RECT placed = PlacedRect(dialog(), button);
    const SIZE size = SizeToPixels(dialog(), b.width, b.height);
    EXPECT_EQ(size.cx, placed.right - placed.left) << b.text;
    EXPECT_EQ(size.cy, placed.bottom - placed.top) << b.text;
  }
  EXPECT_EQ(2u + 2u * (sizeof kFields / sizeof kFields[0]), Children(dialog()).size())
      << "the fields, their labels and the two buttons, nothing else";
}

}  // namespace
