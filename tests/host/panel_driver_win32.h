// What the panel's test host and the screenshot maker share: a host's main
// thread that pumps messages while it waits (the panel calls the host object
// in this apartment), an operator thread for clicks, the panel and Multiplier
// window found on the screen, the grid's colours read back, and the plug-in
// loaded and called as the host does.
//
// Threading: everything here runs on the host's main thread, a single-threaded
// apartment; Operate and Click hand the operator's part to a thread of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_vexa_win32.h"
#include "tools/common/plugin_session.h"

inline constexpr char kPanelIni[] = "Plugins\\KOVA-BRAWLCUP.ini";
inline constexpr int kViewPrefix = 1014;
inline constexpr int kGridControl = 1003;
inline constexpr COLORREF kGridBackground = 0x00C6FFFF;
inline constexpr COLORREF kBandHighlight = 0x00FFFFC6;
inline constexpr COLORREF kPrefixBackground = 0x00C6FAFF;

// The panel's mode buttons: what each sends the host and the mode word it
// sets.
struct PanelButton {
  int id;
  std::vector<std::string> macros;
  const char* word;
};
extern const std::vector<PanelButton> kPanelButtons;

// The host object the panel finds; lives on the main thread.
extern FakeVexa g_vexa;

// Serves the calls waiting for this apartment and the windows of this thread.
void PumpOnce(DWORD waitMs);
// Pumps until `done` (true) or the timeout (false).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
void PumpFor(DWORD ms);
// Without serving anything: true once a call into this thread's apartment is
// waiting to be served, false after the timeout.
bool CallWaitsForThisThread(DWORD timeoutMs);

// What the operator does runs on a thread of its own while this one pumps.
void Operate(const std::function<void()>& action);
void Click(HWND dialog, int id);

std::string Caption(HWND window);
std::string PanelSetting(const char* key);

// The visible panel, or null.
HWND Panel();
// The dialogs of the panel's thread other than the panel itself.
std::vector<HWND> OtherDialogs(HWND panel);
// The visible Multiplier window of that panel, or null.
HWND Multiplier(HWND panel);

COLORREF PixelOf(HWND window, int x, int y);
// Where the grid display differs from the expected colours, with `band` the
// highlighted row; empty when none.
std::string GridColourMismatch(HWND multiplier, int band);

// The plug-in's calls as the panel tests make them: the host's reset of the
// test contest and a call check of a call being entered in RTTY on 20 m.
void ResetContest(const PluginSession& s);
void CheckCall(const PluginSession& s, const char* call);

// Loads the library, resets with "Start" at 0 and waits for the panel and its
// first tick. Null when no panel came.
HWND OpenPanel(const std::string& dll, PluginSession& s, bool withHost, const char* pref);

// Unloads the library; false when the system refused. Prints how long it took
// and returns it in `tookMs`.
bool UnloadPlugin(PluginSession& s, const std::string& what, DWORD& tookMs);
