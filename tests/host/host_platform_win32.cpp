#include <windows.h>

#include <atomic>
#include <cstdio>
#include <direct.h>
#include <string>
#include <thread>

#include "host_platform.h"
#include "host_scenario.h"
#include "window_driver_win32.h"

using namespace window_driver;

void* OpenLibrary(const std::string& path) {
  return reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
}

void* FindEntryPoint(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

bool CloseLibrary(void* library) { return FreeLibrary(static_cast<HMODULE>(library)) != FALSE; }

std::string LibraryError() { return "error " + std::to_string(GetLastError()); }

bool ExportsDecoratedNames() { return true; }

void MakeFolder(const std::string& path) { _mkdir(path.c_str()); }

bool ChangeFolder(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

void RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

std::string LoaderPath(const std::string& path) {
  std::string p = path;
  // Under Wine, CMake hands over Unix paths; drive Z: is the Unix root.
  if (!p.empty() && p[0] == '/') {
    p = "Z:" + p;
  }
  for (char& c : p) {
    if (c == '/') {
      c = '\\';
    }
  }
  char full[MAX_PATH * 4] = {};
  const DWORD n = GetFullPathNameA(p.c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full) : p;
}

unsigned long MillisecondsNow() { return GetTickCount(); }

namespace {

constexpr char kIni[] = "Plugins\\KOVA-BRAWLCUP.ini";
constexpr char kFormCaption[] = "KOVA-BRAWLCUP";
constexpr char kSetupCaption[] = "Setup KOVA-BRAWLCUP";

std::atomic<int> g_failed{0};

void Expect(bool ok, const std::string& what) {
  if (!ok) {
    ++g_failed;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

void ExpectText(const std::string& expected, const std::string& actual, const std::string& what) {
  Expect(expected == actual, what + ": expected \"" + Escaped(expected) + "\", got \"" +
                                 Escaped(actual) + "\"");
}

std::string Setting(const char* key) {
  char buffer[100] = {};
  GetPrivateProfileStringA("Settings", key, "<absent>", buffer, sizeof buffer, kIni);
  return buffer;
}

// Runs `operate` on a thread of its own while `call` (a modal export) runs on
// this one, as the host's thread would.
template <typename Call, typename Operate>
void WithOperator(Call call, Operate operate) {
  std::thread op(operate);
  call();
  op.join();
}

// Closes the "Output" box and returns its text; empty when none came.
std::string CloseOutputBox() {
  HWND box = WaitForDialog("Output");
  Expect(box != nullptr, "the \"Output\" box appears");
  if (box == nullptr) {
    return std::string();
  }
  const std::string text = MessageBoxText(box);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  Expect(WaitUntilGone("Output"), "the \"Output\" box closes");
  return text;
}

void AddSomeQsos(const EntryPoints& stats) {
  const Contact contacts[] = {
      {"Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5},
      {"Q3BB", "40m", "BPSK31", "Q3", "002", "012", 7035000, 9, 10},
  };
  for (const Contact& c : contacts) {
    Expect(CallAddData(stats.addData, "Q1HOST", c) == 1, std::string("store ") + c.call);
  }
}

void ReportRunConfirmed(const EntryPoints& stats) {
  DeleteFileA(kIni);
  WithOperator(
      [&] {
        Expect(CallResetStats(stats.resetStats, 1, "Q1HOST", HostDateOf(2016, 2, 13),
                              HostDateOf(2016, 2, 14)) == 1,
               "report reset returns 1");
      },
      [&] {
        HWND form = WaitForDialog(kFormCaption);
        Expect(form != nullptr, "the header form appears during the report reset");
        if (form == nullptr) {
          return;
        }
        // What the form opens with when there is no settings file.
        ExpectText("KOVA-BRAWLCUP ", ControlText(form, 1009), "CONTEST");
        ExpectText("Q1HOST", ControlText(form, 1010), "CALLSIGN");
        ExpectText("Q1HOST", ControlText(form, 1006), "OPERATORS");
        ExpectText("", ControlText(form, 1008), "CLAIMED");
        ExpectText("SINGLE-OP", ControlText(form, 1013), "CATEGORY-OPERATOR");
        ExpectText("NON-ASSISTED", ControlText(form, 1020), "CATEGORY-ASSISTED");
        ExpectText("ALL", ControlText(form, 1019), "CATEGORY-BAND");
        ExpectText("RTTY", ControlText(form, 1018), "CATEGORY-MODE");
        ExpectText("HIGH", ControlText(form, 1017), "CATEGORY-POWER");
        ExpectText("FIXED", ControlText(form, 1016), "CATEGORY-STATION");
        ExpectText("ONE", ControlText(form, 1015), "CATEGORY-TRANSMITTER");
        ExpectText("", ControlText(form, 1021), "CATEGORY-OVERLAY");
        ExpectText("DX", ControlText(form, 1022), "LOCATION");
        Expect(Selected(form, 1018) == 4, "CATEGORY-MODE selects its fifth item, RTTY");
        for (int id : {1007, 1002, 1014, 1012, 1011, 1003, 1005, 1001, 1004}) {
          ExpectText("", ControlText(form, id), "empty field " + std::to_string(id));
        }
        // The list items, in order.
        Expect(ItemCount(form, 1022) == 64, "64 locations");
        ExpectText("-/-", Item(form, 1022, 1), "second location");
        ExpectText("PEI", Item(form, 1022, 63), "last location");
        Expect(ItemCount(form, 1018) == 8, "8 modes");
        ExpectText("MIXED", Item(form, 1018, 7), "last mode");
        Expect(ItemCount(form, 1013) == 3, "3 operator categories");

        // The operator edits and picks.
        Type(form, 1007, "Ann Example");
        Type(form, 1002, "Main St 1<CR>Flat 2");
        Type(form, 1014, "Springfield");
        Type(form, 1005, "Test Club");
        Type(form, 1004, "ann@example.invalid");
        Type(form, 1001, "abc\r\ndef");
        Type(form, 1008, "999999");          // not taken back
        Type(form, 1019, "160M");            // typed, not an item
        Pick(form, 1021, 1);                 // ROOKIE
        Pick(form, 1022, 53);                // ON
        ExpectText("ROOKIE", ControlText(form, 1021), "picked overlay");
        ExpectText("ON", ControlText(form, 1022), "picked location");
        Click(form, IDOK);
        if (!WaitUntilGone(kFormCaption)) {
          Expect(false, "the form closes on OK");
          CancelAll(kFormCaption);
        }
      });

  ExpectText("Q1HOST", Setting("Operators"), "Operators stored");
  ExpectText("Ann Example", Setting("Name"), "Name stored");
  ExpectText("Main St 1<CR>Flat 2", Setting("Address"), "Address stored as typed");
  ExpectText("Springfield", Setting("Address-City"), "Address-City stored");
  ExpectText("Test Club", Setting("Club"), "Club stored");
  ExpectText("ann@example.invalid", Setting("Email"), "Email stored");
  ExpectText("abc<CR><LF>def", Setting("SoapBox"), "SoapBox stored on one line");
  ExpectText("ON", Setting("Location"), "Location stored");
  ExpectText("KOVA-BRAWLCUP", Setting("Contest"), "Contest stored (the profile trims)");
  ExpectText("0", Setting("Start"), "a report run starts no panel");
  ExpectText("<absent>", Setting("Claimed"), "the claimed score is not stored by the form");

  AddSomeQsos(stats);
  int out = 5;
  std::string shown;
  WithOperator([&] { stats.getResult(&out); }, [&] { shown = CloseOutputBox(); });
  ExpectText("File produced: Q1HOST.sum", shown, "the Output box names the summary sheet");
  Expect(out == -1, "GetResult0 sets *out to -1 in a report run");
  const std::string sheet = FileBytesOrMissing("Q1HOST.sum");
  Expect(sheet.find("Name(s) : Ann Example\r\n") != std::string::npos,
         "summary sheet carries the typed name: " + Escaped(sheet.substr(0, 400)));
  Expect(sheet.find("Address : Main St 1\r\r\nADDRESS: Flat 2\r\n") != std::string::npos,
         "summary sheet continues the address");
  const std::string rtty = FileBytesOrMissing("RTTY.log");
  Expect(rtty.rfind("QSO: 14080 RY 2016-02-13 0905 Q1HOST", 0) == 0,
         "RTTY.log holds the QSO line: " + Escaped(rtty));
  Expect(FileBytesOrMissing("PSK .log").find("QSO:  7035 PS") == 0, "PSK .log holds its line");
}

void ReportRunCancelled(const EntryPoints& stats) {
  const std::string before = FileBytesOrMissing("Plugins/KOVA-BRAWLCUP.ini");
  WithOperator(
      [&] {
        CallResetStats(stats.resetStats, 1, "Q1HOST", HostDateOf(2016, 2, 13),
                       HostDateOf(2016, 2, 14));
      },
      [&] {
        HWND form = WaitForDialog(kFormCaption);
        Expect(form != nullptr, "the header form appears again");
        if (form == nullptr) {
          return;
        }
        ExpectText("Ann Example", ControlText(form, 1007), "the stored name comes back");
        ExpectText("ROOKIE", ControlText(form, 1021), "the confirmed overlay comes back");
        ExpectText("DX", ControlText(form, 1022), "the location starts from DX again");
        ExpectText("abc\r\ndef", ControlText(form, 1001), "the soapbox opens on two lines");
        Type(form, 1007, "Somebody Else");
        Click(form, IDCANCEL);
        if (!WaitUntilGone(kFormCaption)) {
          Expect(false, "the form closes on CANCEL");
          CancelAll(kFormCaption);
        }
      });
  ExpectText(Escaped(before), Escaped(FileBytesOrMissing("Plugins/KOVA-BRAWLCUP.ini")),
             "a cancelled form leaves the settings file as it was");
  int out = 5;
  WithOperator([&] { stats.getResult(&out); }, [&] { CloseOutputBox(); });
  Expect(out == -1, "the cancelled run still ends with *out = -1");
}

// Runs SetupSet0 once; the operator checks the box state, may tick it, then
// closes with OK or Escape.
void SetupOnce(const EntryPoints& stats, int expectShown, bool tick, bool ok,
               const std::string& what) {
  WithOperator([&] { stats.setupSet(); },
               [&] {
                 HWND dialog = WaitForDialog(kSetupCaption);
                 Expect(dialog != nullptr, what + ": the setup dialog appears");
                 if (dialog == nullptr) {
                   return;
                 }
                 Expect(Checked(dialog, 1014) == expectShown,
                        what + ": box shows " + std::to_string(expectShown));
                 if (tick) {
                   Click(dialog, 1014);
                   Expect(Checked(dialog, 1014) == 1, what + ": box ticked");
                 }
                 if (ok) {
                   Click(dialog, IDOK);
                 } else {
                   PressEscape(dialog);
                 }
                 if (!WaitUntilGone(kSetupCaption)) {
                   Expect(false, what + ": the setup dialog closes");
                   CancelAll(kSetupCaption);
                 }
               });
}

void SetupDialog(const EntryPoints& stats) {
  DeleteFileA(kIni);
  SetupOnce(stats, 0, false, true, "no settings file");
  ExpectText("0", Setting("Master"), "OK on a clear box writes 0");
  SetupOnce(stats, 0, true, true, "tick and OK");
  ExpectText("1", Setting("Master"), "tick and OK writes 1");
  SetupOnce(stats, 1, false, false, "shown ticked, Escape");
  ExpectText("1", Setting("Master"), "Escape keeps 1");
  WritePrivateProfileStringA("Settings", "Master", "0", kIni);
  SetupOnce(stats, 0, true, false, "tick and Escape");
  ExpectText("0", Setting("Master"), "tick and Escape writes nothing");
  WritePrivateProfileStringA("Settings", "Master", "1abc", kIni);
  SetupOnce(stats, 1, false, false, "stored 1abc");
  ExpectText("1abc", Setting("Master"), "Escape leaves 1abc as it was");
}

}  // namespace

int RunWindowChecks(const EntryPoints& stats) {
  // No window of the host is active here, so the "Output" box has no owner;
  // with one, it would belong to it.
  ReportRunConfirmed(stats);
  ReportRunCancelled(stats);
  SetupDialog(stats);
  std::printf("window checks: %d failed\n", g_failed.load());
  return g_failed.load();
}
