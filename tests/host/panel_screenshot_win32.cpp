// panel_screenshot DLL --screenshot FILE.bmp
//
// Takes a picture of the mode switch panel and the Multiplier window as the
// operator sees them: the plug-in loaded as the host loads it, a fake
// "Vexa2.Application" with the radio on 20 m and Q2AA being entered, five
// QSOs with Q2AA, and the screen around both windows written as a 24-bit BMP.
// scripts/screenshot-panel.sh runs it under Xvfb. Exit code 0 when the picture
// was written. The main thread is a single-threaded apartment that pumps
// messages while it waits, as the host's does.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fake_vexa_win32.h"
#include "host_platform.h"
#include "host_scenario.h"
#include "panel_driver_win32.h"

namespace {

bool WriteBitmap(const std::string& path, HDC source, const RECT& r) {
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + size;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), size);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return static_cast<bool>(out);
}

int Screenshot(const std::string& dll, const std::string& path) {
  DeleteFileA(kPanelIni);
  g_vexa.SetEntryText(L"Q2AA");
  g_vexa.SetFrequency(14080000.0);
  PluginSession s;
  HWND panel = OpenPanel(dll, s, true, "0");
  if (panel == nullptr) {
    return 2;
  }
  for (const HostContact& c :
       {ContactAt("Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5),
        ContactAt("Q2AA", "40m", "BPSK31", "Q2", "002", "012", 7035000, 10, 12),
        ContactAt("Q2AA", "80m", "SSTV", "Q2", "003", "013", 3730000, 11, 47),
        ContactAt("Q2AA", "15m", "OLIVIA", "Q2", "004", "014", 21080000, 13, 30),
        ContactAt("Q2AA", "20m", "HELL", "Q2", "005", "015", 14063000, 14, 2)}) {
    s.Add("Q1HOST", c);
  }
  Click(panel, kViewPrefix);
  HWND multiplier = nullptr;
  PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; });
  if (multiplier == nullptr) {
    return 3;
  }
  CheckCall(s, "Q2AA");
  PumpUntil([&] { return GridColourMismatch(multiplier, 3).empty(); }, 5000);
  PumpFor(500);
  RECT a = {};
  RECT b = {};
  GetWindowRect(panel, &a);
  GetWindowRect(multiplier, &b);
  RECT both = {};
  UnionRect(&both, &a, &b);
  InflateRect(&both, 8, 8);
  both.left = both.left < 0 ? 0 : both.left;
  both.top = both.top < 0 ? 0 : both.top;
  HDC screen = GetDC(nullptr);
  const bool written = WriteBitmap(path, screen, both);
  ReleaseDC(nullptr, screen);
  DWORD took = 0;
  UnloadPlugin(s, "screenshot", took);
  return written ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc != 4 || std::string(argv[2]) != "--screenshot") {
    std::printf("usage: panel_screenshot DLL --screenshot FILE.bmp\n");
    return 100;
  }
  const std::string dll = LoaderPath(argv[1]);
  const std::string picture = LoaderPath(argv[3]);
  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL: COM\n");
    return 100;
  }
  std::filesystem::create_directory("panel_screenshot_work");
  std::filesystem::current_path("panel_screenshot_work");
  std::filesystem::create_directory("Plugins");
  // Without the host object the picture still shows both windows, only
  // without a call being entered: say so and go on.
  if (!RegisterVexaProgId() || !g_vexa.Register()) {
    std::printf("the host object could not be offered\n");
  }
  const int result = Screenshot(dll, picture);
  g_vexa.Revoke();
  CoUninitialize();
  return result;
}
