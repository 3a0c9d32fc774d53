// The setup dialog's template (113) as the system builds it: frame, font,
// size, the default OK button and the automatic check box, and no Cancel
// button (Escape and the close box cancel).
#include <windows.h>

#include <string>

#include "../platform/dialog_template_win32.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

using namespace dialog_template;

TEST(SetupDialogTemplateTest, FrameFontSizeAndControls) {
  BuiltTemplate setup(IDD_MASTER);
  HWND dialog = setup.hwnd();
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ("Setup KOVA-BRAWLCUP", TextOf(dialog));
  const DWORD style = StyleOf(dialog);
  for (DWORD bit : {DWORD{WS_POPUP}, DWORD{WS_CAPTION}, DWORD{WS_SYSMENU}}) {
    EXPECT_EQ(bit, style & bit) << "window style bit " << std::hex << bit;
  }
  EXPECT_EQ(0, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_NE(0, ExStyleOf(dialog) & WS_EX_DLGMODALFRAME);
  const LOGFONTA font = DialogFont(dialog);
  EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
  EXPECT_EQ(PointsToHeight(8), font.lfHeight);
  RECT client = {};
  GetClientRect(dialog, &client);
  const SIZE size = SizeToPixels(dialog, 186, 36);
  EXPECT_EQ(size.cx, client.right);
  EXPECT_EQ(size.cy, client.bottom);

  struct Control {
    int id;
    const char* text;
    DWORD type;
    int x, y, width, height;
  };
  for (const Control& c :
       {Control{IDOK, "OK", BS_DEFPUSHBUTTON, 129, 9, 50, 14},
        Control{IDC_USE_MULTIPLIER, "Use window Multiplier", BS_AUTOCHECKBOX, 7, 10, 93, 15}}) {
    HWND control = GetDlgItem(dialog, c.id);
    ASSERT_NE(nullptr, control) << c.text;
    EXPECT_STREQ("Button", ClassOf(control).c_str()) << c.text;
    EXPECT_EQ(c.text, TextOf(control));
    EXPECT_EQ(c.type, StyleOf(control) & BS_TYPEMASK) << c.text;
    EXPECT_NE(0, StyleOf(control) & WS_TABSTOP) << c.text;
    const RECT placed = PlacedRect(dialog, control);
    const POINT at = UnitsToPixels(dialog, c.x, c.y);
    const SIZE extent = SizeToPixels(dialog, c.width, c.height);
    EXPECT_EQ(at.x, placed.left) << c.text;
    EXPECT_EQ(at.y, placed.top) << c.text;
    EXPECT_EQ(extent.cx, placed.right - placed.left) << c.text;
    EXPECT_EQ(extent.cy, placed.bottom - placed.top) << c.text;
  }
  EXPECT_EQ(nullptr, GetDlgItem(dialog, IDCANCEL)) << "no Cancel button";
  EXPECT_EQ(2u, Children(dialog).size());
}

}  // namespace
