// The real Multiplier window on the test's thread: where it opens, what it
// remembers, how its content follows the window's size, the colours a paint
// leaves on the screen, and that opening and closing it leaks nothing.
#include "windows/multiplier_window_win32.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>

#include "platform/mem_dc_win32.h"
#include "plugin/module_state.h"
#include "plugin/stats_plugin.h"
#include "resources/resource.h"
#include "test_support.h"
#include "windows/gdi_canvas_win32.h"

namespace {

constexpr char kIni[] = "Plugins/KOVA-BRAWLCUP.ini";

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

// The content control's rectangle in the dialog's client coordinates.
RECT ContentRect(HWND dialog) {
  HWND grid = GetDlgItem(dialog, IDC_MULTIPLIER_GRID);
  RECT r = WindowRect(grid);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

class MultiplierWindowTest : public ScratchDirTest {
 protected:
  std::unique_ptr<MultiplierWindow> Open() {
    auto window = std::make_unique<MultiplierWindow>(Module().panelModule());
    EXPECT_TRUE(window->Create());
    return window;
  }
  void Setting(const char* key, const char* value) {
    WritePrivateProfileStringA("Settings", key, value, "Plugins\\KOVA-BRAWLCUP.ini");
  }
};

}  // namespace

TEST_F(MultiplierWindowTest, OpensAtTheStoredPlaceWhereAZeroMeansTheDefault) {
  {
    auto window = Open();
    const RECT r = WindowRect(window->hwnd());
    EXPECT_EQ(10, r.left) << "no settings file";
    EXPECT_EQ(400, r.top);
  }
  Setting("dxcc_x", "0");
  Setting("dxcc_y", "250");
  {
    auto window = Open();
    EXPECT_EQ(10, WindowRect(window->hwnd()).left);
    EXPECT_EQ(250, WindowRect(window->hwnd()).top);
  }
  Setting("dxcc_x", "120");
  Setting("dxcc_y", "junk");
  {
    auto window = Open();
    EXPECT_EQ(120, WindowRect(window->hwnd()).left);
    EXPECT_EQ(400, WindowRect(window->hwnd()).top);
  }
}

TEST_F(MultiplierWindowTest, IsTopmostWithTheIconAndTheTemplatesCaption) {
  auto window = Open();
  HWND w = window->hwnd();
  EXPECT_NE(0, GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(0, SendMessageA(w, WM_GETICON, ICON_BIG, 0));
  char caption[64] = {};
  GetWindowTextA(w, caption, sizeof caption);
  EXPECT_STREQ("WPX", caption);
  EXPECT_FALSE(IsWindowVisible(w)) << "created hidden; the panel shows it";
  window->Show();
  EXPECT_TRUE(IsWindowVisible(w));
  window->SetCaption(" KOVA-BRAWLCUP worked with Q2AA");
  GetWindowTextA(w, caption, sizeof caption);
  EXPECT_STREQ(" KOVA-BRAWLCUP worked with Q2AA", caption);
}

TEST_F(MultiplierWindowTest, TheContentFollowsTheClientAreaLessTwoPixelsEachSide) {
  auto window = Open();
  HWND w = window->hwnd();
  for (const SIZE& size : {SIZE{500, 300}, SIZE{250, 180}}) {
    SetWindowPos(w, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    GetClientRect(w, &client);
    const RECT content = ContentRect(w);
    EXPECT_EQ(1, content.left);
    EXPECT_EQ(1, content.top);
    EXPECT_EQ(client.right - 4, content.right - content.left) << size.cx;
    EXPECT_EQ(client.bottom - 4, content.bottom - content.top) << size.cy;
  }
}

TEST_F(MultiplierWindowTest, MovingWritesOnlyTheAxisThatChanged) {
  auto window = Open();
  HWND w = window->hwnd();
  SetWindowPos(w, nullptr, 200, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ("[Settings]\r\ndxcc_x=200\r\n", ReadFile(kIni)) << "y is still the recorded 400";

  SetWindowPos(w, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ("[Settings]\r\ndxcc_x=200\r\ndxcc_y=150\r\n", ReadFile(kIni));

  Setting("dxcc_x", "999");
  SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ("[Settings]\r\ndxcc_x=999\r\ndxcc_y=150\r\n", ReadFile(kIni))
      << "nothing is written while the window has not moved";
}

TEST_F(MultiplierWindowTest, APaintShowsTheGridColoursWithTheRadiosBandHighlighted) {
  ModuleState& m = Module();
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    LabelGridRows(m.grid);
    m.callEntered = "Q2AA";
    m.bandIndex = 3;
  }
  auto window = Open();
  HWND w = window->hwnd();
  SetWindowPos(w, nullptr, 0, 0, 480, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  window->Show();
  window->Repaint();
  HWND grid = GetDlgItem(w, IDC_MULTIPLIER_GRID);
  UpdateWindow(grid);
  RECT r = {};
  GetClientRect(grid, &r);
  const int h = r.bottom / 7;
  // Left of the band labels (x 20) no text is ever drawn.
  EXPECT_EQ(kGridBackground, PixelOf(grid, 8, 3));
  for (int row = 0; row < 6; ++row) {
    EXPECT_EQ(row == 3 ? kBandHighlight : kGridBackground,
              PixelOf(grid, 8, (row + 1) * h + 10 + 2))
        << "row " << row << " of height " << h;
  }

  {
    std::lock_guard<std::mutex> lock(m.mutex);
    m.callEntered.clear();
  }
  window->Repaint();
  UpdateWindow(grid);
  EXPECT_EQ(kPrefixBackground, PixelOf(grid, 8, 3)) << "no call: the prefix display";
  EXPECT_EQ(kPrefixBackground, PixelOf(grid, r.right - 2, r.bottom - 2));
}

TEST_F(MultiplierWindowTest, AThousandOpenAndCloseCyclesLeaveNoWindowOrGdiObject) {
  {
    std::lock_guard<std::mutex> lock(Module().mutex);
    LabelGridRows(Module().grid);
    Module().callEntered = "Q2AA";
    Module().bandIndex = 2;
  }
  // Each cycle paints the content once, into a memory context through the
  // control's own drawing (showing a thousand windows under Wine takes long).
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 600, 300);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);

  const int windowsBefore = ThreadWindowCount();
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  for (int i = 0; i < 1000; ++i) {
    auto window = Open();
    HWND grid = GetDlgItem(window->hwnd(), IDC_MULTIPLIER_GRID);
    window->SetCaption(" KOVA-BRAWLCUP worked with Q2AA");
    SetPixel(memory, 5, 5, RGB(0, 0, 0));
    SendMessageA(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    ASSERT_EQ(kGridBackground, GetPixel(memory, 5, 5)) << "cycle " << i << " painted";
    window->Close();
    EXPECT_FALSE(IsWindowVisible(window->hwnd()));
  }
  EXPECT_EQ(windowsBefore, ThreadWindowCount());
  // Where the system counts them (Wine reports 0 throughout).
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 5);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 5);

  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

TEST(MemDc, CoversTheTargetsClipBoxAndCopiesItBackInOneGo) {
  HDC screen = GetDC(nullptr);
  CDC target;
  ASSERT_TRUE(target.CreateCompatibleDC(nullptr));
  CBitmap bitmap;
  CDC screenDc;
  screenDc.Attach(screen);
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screenDc, 100, 50));
  screenDc.Detach();
  ReleaseDC(nullptr, screen);
  CSelectScope selected(target, bitmap.get());
  target.FillSolidRect({0, 0, 100, 50}, RGB(255, 255, 255));
  IntersectClipRect(target.GetSafeHdc(), 10, 10, 60, 40);
  {
    CMemDC memory(&target);
    EXPECT_TRUE(memory.offScreen());
    EXPECT_EQ(10, memory.rect().left);
    EXPECT_EQ(40, memory.rect().bottom);
    GdiCanvas canvas(memory);
    canvas.FillSolid({0, 0, 100, 50}, kGridBackground);
    canvas.FillSolid({10, 10, 20, 20}, kBandHighlight);
    canvas.FillSolid({30, 30, 30, 45}, RgbColor(0, 0, 0));  // empty: paints nothing
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target.GetSafeHdc(), 30, 25))
        << "nothing reaches the target before the copy";
  }
  SelectClipRgn(target.GetSafeHdc(), nullptr);
  EXPECT_EQ(kBandHighlight, GetPixel(target.GetSafeHdc(), 10, 10)) << "same coordinates";
  EXPECT_EQ(kBandHighlight, GetPixel(target.GetSafeHdc(), 19, 19));
  EXPECT_EQ(kGridBackground, GetPixel(target.GetSafeHdc(), 20, 20));
  EXPECT_EQ(kGridBackground, GetPixel(target.GetSafeHdc(), 30, 35));
  EXPECT_EQ(kGridBackground, GetPixel(target.GetSafeHdc(), 59, 39));
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(target.GetSafeHdc(), 60, 25)) << "outside the clip box";
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(target.GetSafeHdc(), 5, 5));
}
