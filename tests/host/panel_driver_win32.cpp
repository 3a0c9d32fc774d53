#include "panel_driver_win32.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "host_scenario.h"

const std::vector<PanelButton> kPanelButtons = {
    {1003, {"<MODE:RTTY>"}, "RTTY"},
    {1006, {"<MODE:HELL>"}, "HELL"},
    {1009, {"<MODE:THROB>"}, "THROB"},
    {1004, {"<MODE:BPSK31>"}, "BPSK"},
    {1010, {"<MODE:BPSK31>", "<BAUDRATE:63>"}, "BPSK"},
    {1011, {"<MODE:BPSK31>", "<BAUDRATE:125>"}, "BPSK"},
    {1005, {"<MODE:OLIVIA>"}, "MFSK"},
    {1008, {"<MODE:MT63>"}, "MT63"},
    {1007, {"<MODE:MFSK>"}, "MFSK"},
    {1012, {"<MODE:SSTV>"}, "SSTV"},
};

FakeVexa g_vexa;

void PumpOnce(DWORD waitMs) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) {
      return false;
    }
    PumpOnce(10);
  }
  return true;
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

bool CallWaitsForThisThread(DWORD timeoutMs) {
  const DWORD self = GetCurrentThreadId();
  const DWORD start = GetTickCount();
  do {
    // COM's window for this apartment (message-only on some systems).
    for (HWND parent : {HWND_MESSAGE, static_cast<HWND>(nullptr)}) {
      HWND window = nullptr;
      while ((window = FindWindowExA(parent, window, "OleMainThreadWndClass", nullptr)) !=
             nullptr) {
        MSG msg;
        if (GetWindowThreadProcessId(window, nullptr) == self &&
            PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE | PM_NOYIELD)) {
          return true;
        }
      }
    }
    Sleep(10);
  } while (GetTickCount() - start < timeoutMs);
  return false;
}

void Operate(const std::function<void()>& action) {
  std::atomic<bool> done{false};
  std::thread operatorThread([&] {
    action();
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 60000);
  operatorThread.join();
}

void Click(HWND dialog, int id) {
  Operate([&] { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); });
}

std::string Caption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string PanelSetting(const char* key) {
  char buffer[100] = {};
  GetPrivateProfileStringA("Settings", key, "<absent>", buffer, sizeof buffer, kPanelIni);
  return buffer;
}

HWND Panel() {
  HWND panel = FindWindowA("#32770", "Switch mode");
  return panel != nullptr && IsWindowVisible(panel) ? panel : nullptr;
}

namespace {

struct ThreadWindows {
  HWND skip;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  auto* windows = reinterpret_cast<ThreadWindows*>(data);
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (window != windows->skip && std::strcmp(cls, "#32770") == 0) {
    windows->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> OtherDialogs(HWND panel) {
  ThreadWindows windows{panel, {}};
  EnumThreadWindows(GetWindowThreadProcessId(panel, nullptr), &CollectWindow,
                    reinterpret_cast<LPARAM>(&windows));
  return windows.found;
}

HWND Multiplier(HWND panel) {
  for (HWND w : OtherDialogs(panel)) {
    if (IsWindowVisible(w)) {
      return w;
    }
  }
  return nullptr;
}

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

std::string GridColourMismatch(HWND multiplier, int band) {
  HWND grid = GetDlgItem(multiplier, kGridControl);
  RECT r = {};
  GetClientRect(grid, &r);
  const int h = r.bottom / 7;
  std::string wrong;
  char line[96];
  // x 8 lies left of every text the window draws.
  if (PixelOf(grid, 8, 3) != kGridBackground) {
    std::snprintf(line, sizeof line, "header %06lX; ", PixelOf(grid, 8, 3));
    wrong += line;
  }
  for (int row = 0; row < 6; ++row) {
    const COLORREF expected = row == band ? kBandHighlight : kGridBackground;
    const COLORREF got = PixelOf(grid, 8, (row + 1) * h + 12);
    if (got != expected) {
      std::snprintf(line, sizeof line, "row %d %06lX; ", row, got);
      wrong += line;
    }
  }
  return wrong;
}

void ResetContest(const PluginSession& s) {
  s.Reset(false, "Q1HOST", HostDateOf(2016, 2, 13), HostDateOf(2016, 2, 14));
}

void CheckCall(const PluginSession& s, const char* call) {
  s.Check(call, "RTTY", "Q2", "599", "20m", "20m");
}

HWND OpenPanel(const std::string& dll, PluginSession& s, bool withHost, const char* pref) {
  WritePrivateProfileStringA("Settings", "Start", "0", kPanelIni);
  WritePrivateProfileStringA("Settings", "Pref", pref, kPanelIni);
  std::string error;
  if (!s.Open(dll, error)) {
    std::printf("%s\n", error.c_str());
    return nullptr;
  }
  g_vexa.Clear();
  ResetContest(s);
  HWND panel = nullptr;
  PumpUntil([&] { return (panel = Panel()) != nullptr; });
  if (panel != nullptr && withHost) {
    PumpUntil([] { return g_vexa.Count("entry 5") >= 1; });
  } else {
    PumpFor(500);
  }
  return panel;
}

bool UnloadPlugin(PluginSession& s, const std::string& what, DWORD& tookMs) {
  const DWORD start = GetTickCount();
  const bool unloaded = s.Close();
  tookMs = GetTickCount() - start;
  std::printf("%s: unloading took %lu ms\n", what.c_str(), tookMs);
  return unloaded;
}
