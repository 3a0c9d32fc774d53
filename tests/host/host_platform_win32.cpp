#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "host_platform.h"
#include "host_scenario.h"
#include "tools/common/host_arguments.h"
#include "window_driver_win32.h"

using namespace window_driver;

const bool kLibraryExportsDecoratedNames = true;

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

namespace {

constexpr char kIni[] = "Plugins\\KOVA-BRAWLCUP.ini";
constexpr char kFormCaption[] = "KOVA-BRAWLCUP";
constexpr char kSetupCaption[] = "Setup KOVA-BRAWLCUP";

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
  if (box == nullptr) {
    ADD_FAILURE() << "the \"Output\" box appears";
    return std::string();
  }
  const std::string text = MessageBoxText(box);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntilGone("Output")) << "the \"Output\" box closes";
  return text;
}

void AddSomeQsos(const PluginEntryPoints& stats) {
  for (const HostContact& c :
       {ContactAt("Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5),
        ContactAt("Q3BB", "40m", "BPSK31", "Q3", "002", "012", 7035000, 9, 10)}) {
    EXPECT_EQ(1, CallAddData(stats.addData, "Q1HOST", c)) << "store " << c.call;
  }
}

void ReportRunConfirmed(const PluginEntryPoints& stats) {
  DeleteFileA(kIni);
  WithOperator(
      [&] {
        EXPECT_EQ(1, CallResetStats(stats.resetStats, 1, "Q1HOST", HostDateOf(2016, 2, 13),
                                    HostDateOf(2016, 2, 14)))
            << "report reset returns 1";
      },
      [&] {
        HWND form = WaitForDialog(kFormCaption);
        ASSERT_NE(nullptr, form) << "the header form appears during the report reset";
        // What the form opens with when there is no settings file.
        struct Field {
          int id;
          const char* text;
          const char* tag;
        };
        for (const Field& f :
             {Field{1009, "KOVA-BRAWLCUP ", "CONTEST"}, Field{1010, "Q1HOST", "CALLSIGN"},
              Field{1006, "Q1HOST", "OPERATORS"}, Field{1008, "", "CLAIMED"},
              Field{1013, "SINGLE-OP", "CATEGORY-OPERATOR"},
              Field{1020, "NON-ASSISTED", "CATEGORY-ASSISTED"}, Field{1019, "ALL", "CATEGORY-BAND"},
              Field{1018, "RTTY", "CATEGORY-MODE"}, Field{1017, "HIGH", "CATEGORY-POWER"},
              Field{1016, "FIXED", "CATEGORY-STATION"}, Field{1015, "ONE", "CATEGORY-TRANSMITTER"},
              Field{1021, "", "CATEGORY-OVERLAY"}, Field{1022, "DX", "LOCATION"}}) {
          EXPECT_EQ(f.text, ControlText(form, f.id)) << f.tag;
        }
        EXPECT_EQ(4, Selected(form, 1018)) << "CATEGORY-MODE selects its fifth item, RTTY";
        for (int id : {1007, 1002, 1014, 1012, 1011, 1003, 1005, 1001, 1004}) {
          EXPECT_EQ("", ControlText(form, id)) << "empty field " + std::to_string(id);
        }
        // The list items, in order.
        EXPECT_EQ(64, ItemCount(form, 1022)) << "64 locations";
        EXPECT_EQ("-/-", Item(form, 1022, 1)) << "second location";
        EXPECT_EQ("PEI", Item(form, 1022, 63)) << "last location";
        EXPECT_EQ(8, ItemCount(form, 1018)) << "8 modes";
        EXPECT_EQ("MIXED", Item(form, 1018, 7)) << "last mode";
        EXPECT_EQ(3, ItemCount(form, 1013)) << "3 operator categories";

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
        EXPECT_EQ("ROOKIE", ControlText(form, 1021)) << "picked overlay";
        EXPECT_EQ("ON", ControlText(form, 1022)) << "picked location";
        Click(form, IDOK);
        if (!WaitUntilGone(kFormCaption)) {
          ADD_FAILURE() << "the form closes on OK";
          CancelAll(kFormCaption);
        }
      });

  EXPECT_EQ("Q1HOST", Setting("Operators")) << "Operators stored";
  EXPECT_EQ("Ann Example", Setting("Name")) << "Name stored";
  EXPECT_EQ("Main St 1<CR>Flat 2", Setting("Address")) << "Address stored as typed";
  EXPECT_EQ("Springfield", Setting("Address-City")) << "Address-City stored";
  EXPECT_EQ("Test Club", Setting("Club")) << "Club stored";
  EXPECT_EQ("ann@example.invalid", Setting("Email")) << "Email stored";
  EXPECT_EQ("abc<CR><LF>def", Setting("SoapBox")) << "SoapBox stored on one line";
  EXPECT_EQ("ON", Setting("Location")) << "Location stored";
  EXPECT_EQ("KOVA-BRAWLCUP", Setting("Contest")) << "Contest stored (the profile trims)";
  EXPECT_EQ("0", Setting("Start")) << "a report run starts no panel";
  EXPECT_EQ("<absent>", Setting("Claimed")) << "the claimed score is not stored by the form";

  AddSomeQsos(stats);
  int out = 5;
  std::string shown;
  WithOperator([&] { stats.getResult(&out); }, [&] { shown = CloseOutputBox(); });
  EXPECT_EQ("File produced: Q1HOST.sum", shown) << "the Output box names the summary sheet";
  EXPECT_EQ(-1, out) << "GetResult0 sets *out to -1 in a report run";
  const std::string sheet = FileBytesOrMissing("Q1HOST.sum");
  EXPECT_TRUE(sheet.find("Name(s) : Ann Example\r\n") != std::string::npos)
      << "summary sheet carries the typed name: " + Escaped(sheet.substr(0, 400));
  EXPECT_TRUE(sheet.find("Address : Main St 1\r\r\nADDRESS: Flat 2\r\n") != std::string::npos)
      << "summary sheet continues the address";
  const std::string rtty = FileBytesOrMissing("RTTY.log");
  EXPECT_EQ(0, rtty.rfind("QSO: 14080 RY 2016-02-13 0905 Q1HOST", 0))
      << "RTTY.log holds the QSO line: " + Escaped(rtty);
  EXPECT_EQ(0, FileBytesOrMissing("PSK .log").find("QSO:  7035 PS")) << "PSK .log holds its line";
}

void ReportRunCancelled(const PluginEntryPoints& stats) {
  const std::string before = FileBytesOrMissing("Plugins/KOVA-BRAWLCUP.ini");
  WithOperator(
      [&] {
        CallResetStats(stats.resetStats, 1, "Q1HOST", HostDateOf(2016, 2, 13),
                       HostDateOf(2016, 2, 14));
      },
      [&] {
        HWND form = WaitForDialog(kFormCaption);
        ASSERT_NE(nullptr, form) << "the header form appears again";
        EXPECT_EQ("Ann Example", ControlText(form, 1007)) << "the stored name comes back";
        EXPECT_EQ("ROOKIE", ControlText(form, 1021)) << "the confirmed overlay comes back";
        EXPECT_EQ("DX", ControlText(form, 1022)) << "the location starts from DX again";
        EXPECT_EQ("abc\r\ndef", ControlText(form, 1001)) << "the soapbox opens on two lines";
        Type(form, 1007, "Somebody Else");
        Click(form, IDCANCEL);
        if (!WaitUntilGone(kFormCaption)) {
          ADD_FAILURE() << "the form closes on CANCEL";
          CancelAll(kFormCaption);
        }
      });
  EXPECT_EQ(Escaped(before), Escaped(FileBytesOrMissing("Plugins/KOVA-BRAWLCUP.ini")))
      << "a cancelled form leaves the settings file as it was";
  int out = 5;
  WithOperator([&] { stats.getResult(&out); }, [&] { CloseOutputBox(); });
  EXPECT_EQ(-1, out) << "the cancelled run still ends with *out = -1";
}

// Runs SetupSet0 once; the operator checks the box state, may tick it, then
// closes with OK or Escape.
void SetupOnce(const PluginEntryPoints& stats, int expectShown, bool tick, bool ok,
               const std::string& what) {
  WithOperator([&] { stats.setupSet(); },
               [&] {
                 HWND dialog = WaitForDialog(kSetupCaption);
                 ASSERT_NE(nullptr, dialog) << what + ": the setup dialog appears";
                 EXPECT_EQ(expectShown, Checked(dialog, 1014))
                     << what + ": box shows " + std::to_string(expectShown);
                 if (tick) {
                   Click(dialog, 1014);
                   EXPECT_EQ(1, Checked(dialog, 1014)) << what + ": box ticked";
                 }
                 if (ok) {
                   Click(dialog, IDOK);
                 } else {
                   PressEscape(dialog);
                 }
                 if (!WaitUntilGone(kSetupCaption)) {
                   ADD_FAILURE() << what + ": the setup dialog closes";
                   CancelAll(kSetupCaption);
                 }
               });
}

void SetupDialog(const PluginEntryPoints& stats) {
  DeleteFileA(kIni);
  SetupOnce(stats, 0, false, true, "no settings file");
  EXPECT_EQ("0", Setting("Master")) << "OK on a clear box writes 0";
  SetupOnce(stats, 0, true, true, "tick and OK");
  EXPECT_EQ("1", Setting("Master")) << "tick and OK writes 1";
  SetupOnce(stats, 1, false, false, "shown ticked, Escape");
  EXPECT_EQ("1", Setting("Master")) << "Escape keeps 1";
  WritePrivateProfileStringA("Settings", "Master", "0", kIni);
  SetupOnce(stats, 0, true, false, "tick and Escape");
  EXPECT_EQ("0", Setting("Master")) << "tick and Escape writes nothing";
  WritePrivateProfileStringA("Settings", "Master", "1abc", kIni);
  SetupOnce(stats, 1, false, false, "stored 1abc");
  EXPECT_EQ("1abc", Setting("Master")) << "Escape leaves 1abc as it was";
}

}  // namespace

void RunWindowChecks(const PluginEntryPoints& stats) {
  // No window of the host is active here, so the "Output" box has no owner;
  // with one, it would belong to it.
  ReportRunConfirmed(stats);
  ReportRunCancelled(stats);
  SetupDialog(stats);
}
