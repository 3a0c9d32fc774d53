// The real modal windows in the Windows build of the tests.
//
// Every other test that reaches a modal window without a scripted operator
// (a report run on the platform's own windows) meets the operator below, who
// cancels each form and closes each box: on Windows these tests then see what
// the portable build sees, a form that did not confirm.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "../host/window_driver_win32.h"
#include "plugin/user_interface.h"
#include "reports/cabrillo_form.h"
#include "test_support.h"

namespace {

using namespace window_driver;

std::atomic<bool> g_testDrives{false};

class CancellingOperator : public ::testing::Environment {
 public:
  void SetUp() override {
    thread_ = std::thread([this] {
      while (!stop_) {
        if (!g_testDrives) {
          for (const char* caption : {"KOVA-BRAWLCUP", "Output", "Setup KOVA-BRAWLCUP"}) {
            if (HWND dialog = FindWindowA("#32770", caption)) {
              PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
          }
        }
        Sleep(30);
      }
    });
  }
  void TearDown() override {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

const auto* const g_operator = ::testing::AddGlobalTestEnvironment(new CancellingOperator);

// Hands the windows to this test's own operator for its lifetime.
struct Driving {
  Driving() { g_testDrives = true; }
  ~Driving() { g_testDrives = false; }
};

Cabrillo Loaded() {
  Cabrillo form;
  form.m_callsign = "Q1AB";
  form.m_operators = "Q1AB Q1CD";
  form.m_contest = "KOVA-BRAWLCUP ";
  form.m_claimed = "1234";
  form.m_catOperator = "SINGLE-OP";
  form.m_catAssisted = "non";  // begins an item only when compared without case
  form.m_catBand = "ALL";
  form.m_catMode = "RTTY";
  form.m_catPower = "HIGH";
  form.m_catStation = "FIXED";
  form.m_catTransmitter = "ONE";
  form.m_catOverlay = "T";
  form.m_location = "DX";
  form.m_soapbox = "line one\r\nline two";
  return form;
}

TEST(UserInterfaceWin32Test, HeaderFormShowsTheModelsOpeningTextsAndTakesBackOnOk) {
  Driving driving;
  Cabrillo form = Loaded();
  form.m_catPower = "qrp-ish";  // no item begins with it
  const std::map<int, std::string> opening = form.OpeningTexts();
  std::map<int, std::string> shown;
  int powerSelected = 0;
  std::thread op([&] {
    HWND dialog = WaitForDialog("KOVA-BRAWLCUP");
    if (dialog == nullptr) {
      return;
    }
    for (const Cabrillo::Field& field : Cabrillo::Fields()) {
      shown[field.controlId] = ControlText(dialog, field.controlId);
    }
    powerSelected = Selected(dialog, 1017);
    Type(dialog, 1019, "160M");
    Type(dialog, 1008, "1");
    Pick(dialog, 1021, 1);
    Click(dialog, IDOK);
  });
  const int result = PlatformUserInterface().RunHeaderForm(form);
  op.join();
  EXPECT_EQ(kDialogOk, result);
  EXPECT_EQ(opening, shown) << "each control shows what the model says it opens with";
  EXPECT_EQ("NON-ASSISTED", shown[1020]);
  EXPECT_EQ("TB-WIRES", shown[1021]) << "T selects the first item that begins with it";
  EXPECT_EQ("line one\r\nline two", shown[1001]);
  EXPECT_EQ("qrp-ish", shown[1017]) << "a text no item begins with is shown as it is";
  EXPECT_EQ(CB_ERR, powerSelected) << "and no item is selected";
  EXPECT_EQ("qrp-ish", form.m_catPower);
  EXPECT_EQ("160M", form.m_catBand) << "a typed text comes back as typed";
  EXPECT_EQ("ROOKIE", form.m_catOverlay);
  EXPECT_EQ("NON-ASSISTED", form.m_catAssisted);
  EXPECT_EQ("1234", form.m_claimed) << "the claimed score is not taken back";
}

TEST(UserInterfaceWin32Test, HeaderFormCancelLeavesTheMembers) {
  Driving driving;
  Cabrillo form = Loaded();
  std::thread op([] {
    HWND dialog = WaitForDialog("KOVA-BRAWLCUP");
    if (dialog != nullptr) {
      Type(dialog, 1010, "Q9ZZ");
      PressEscape(dialog);
    }
  });
  const int result = PlatformUserInterface().RunHeaderForm(form);
  op.join();
  EXPECT_EQ(kDialogCancel, result);
  EXPECT_EQ("Q1AB", form.m_callsign);
  EXPECT_EQ("non", form.m_catAssisted);
}

TEST(UserInterfaceWin32Test, SetupDialogTakesTheBoxOnOkOnly) {
  Driving driving;
  int checked = 0;
  int shownAtFirst = -1;
  std::thread op([&] {
    HWND dialog = WaitForDialog("Setup KOVA-BRAWLCUP");
    if (dialog != nullptr) {
      shownAtFirst = Checked(dialog, 1014);
      Click(dialog, 1014);
      Click(dialog, IDOK);
    }
  });
  EXPECT_EQ(kDialogOk, PlatformUserInterface().RunSetupDialog(checked));
  op.join();
  EXPECT_EQ(0, shownAtFirst);
  EXPECT_EQ(1, checked);

  std::thread op2([&] {
    HWND dialog = WaitForDialog("Setup KOVA-BRAWLCUP");
    if (dialog != nullptr) {
      shownAtFirst = Checked(dialog, 1014);
      Click(dialog, 1014);
      PressEscape(dialog);
    }
  });
  EXPECT_EQ(kDialogCancel, PlatformUserInterface().RunSetupDialog(checked));
  op2.join();
  EXPECT_EQ(1, shownAtFirst);
  EXPECT_EQ(1, checked) << "Escape leaves the state alone";
}

TEST(UserInterfaceWin32Test, EnterInTheSoapboxStartsANewLineAndLeavesTheFormOpen) {
  Driving driving;
  Cabrillo form = Loaded();
  form.m_soapbox = "ab";
  std::string afterEnter;
  std::thread op([&] {
    HWND dialog = WaitForDialog("KOVA-BRAWLCUP");
    if (dialog == nullptr) {
      return;
    }
    HWND soapbox = GetDlgItem(dialog, 1001);
    SendMessageA(soapbox, EM_SETSEL, 2, 2);
    PostMessageA(soapbox, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(soapbox, WM_KEYUP, VK_RETURN, 0xC0000001);
    for (int i = 0; i < 250 && IsWindow(dialog) && ControlText(dialog, 1001) == "ab"; ++i) {
      Sleep(20);
    }
    if (IsWindow(dialog)) {
      afterEnter = ControlText(dialog, 1001);
      Click(dialog, IDCANCEL);
    }
  });
  const int result = PlatformUserInterface().RunHeaderForm(form);
  op.join();
  EXPECT_EQ("ab\r\n", afterEnter);
  EXPECT_EQ(kDialogCancel, result) << "Enter did not end the form";
}

TEST(UserInterfaceWin32Test, CloseBoxCancelsTheHeaderFormAndTheSetupDialog) {
  Driving driving;
  Cabrillo form = Loaded();
  std::thread op([] {
    if (HWND dialog = WaitForDialog("KOVA-BRAWLCUP")) {
      Type(dialog, 1010, "Q9ZZ");
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  });
  EXPECT_EQ(kDialogCancel, PlatformUserInterface().RunHeaderForm(form));
  op.join();
  EXPECT_EQ("Q1AB", form.m_callsign);

  int checked = 0;
  std::thread op2([] {
    if (HWND dialog = WaitForDialog("Setup KOVA-BRAWLCUP")) {
      Click(dialog, 1014);
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  });
  EXPECT_EQ(kDialogCancel, PlatformUserInterface().RunSetupDialog(checked));
  op2.join();
  EXPECT_EQ(0, checked);
}

TEST(UserInterfaceWin32Test, OutputBoxBelongsToTheActiveWindowOfTheCallingThread) {
  Driving driving;
  HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                              200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, host);
  SetForegroundWindow(host);
  SetActiveWindow(host);
  ASSERT_EQ(host, GetActiveWindow()) << "the host's window is active";
  HWND owner = nullptr;
  std::string text;
  std::thread op([&] {
    HWND box = WaitForDialog("Output");
    if (box != nullptr) {
      text = MessageBoxText(box);
      owner = GetWindow(box, GW_OWNER);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  });
  PlatformUserInterface().ShowMessage("File produced: Q1AB.sum", "Output");
  op.join();
  DestroyWindow(host);
  EXPECT_EQ("File produced: Q1AB.sum", text);
  EXPECT_EQ(host, owner);
}

TEST(UserInterfaceWin32Test, OutputBoxHasTheTextAndNoOwnerWithoutAnActiveWindow) {
  Driving driving;
  std::string text;
  HWND owner = reinterpret_cast<HWND>(1);
  std::vector<int> buttons;
  std::string okText;
  HICON icon = nullptr;
  std::thread op([&] {
    HWND box = WaitForDialog("Output");
    if (box != nullptr) {
      text = MessageBoxText(box);
      owner = GetWindow(box, GW_OWNER);
      for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
           child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(child)) {
          buttons.push_back(GetDlgCtrlID(child));
        }
        if (lstrcmpiA(cls, "Static") == 0 && icon == nullptr) {
          icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        }
      }
      okText = ControlText(box, IDOK);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  });
  PlatformUserInterface().ShowMessage("File produced: Q1AB.sum", "Output");
  op.join();
  EXPECT_EQ("File produced: Q1AB.sum", text);
  EXPECT_EQ(nullptr, owner);
  EXPECT_EQ(std::vector<int>{IDOK}, buttons) << "one button, OK";
  EXPECT_EQ("OK", okText);
  EXPECT_EQ(LoadIconA(nullptr, IDI_INFORMATION), icon) << "the information icon";
}

}  // namespace
