// Helpers for the report tests: a scripted operator for the header form and
// the "Output" box, and a listing of the files a report run left behind.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "contest/mode_groups.h"
#include "plugin/user_interface.h"
#include "reports/cabrillo_form.h"
#include "test_support.h"

// The report's line list of a mode group's log.
inline constexpr int LinesOf(const char* heading) {
  return kModeGroups[ModeGroupOfWord(heading)].logOrder;
}
inline constexpr int kRttyLines = LinesOf("RTTY");
inline constexpr int kPskLines = LinesOf("BPSK");
inline constexpr int kHellLines = LinesOf("HELL");
inline constexpr int kMfskLines = LinesOf("MFSK");
inline constexpr int kMt63Lines = LinesOf("MT63");
inline constexpr int kThrobLines = LinesOf("THROB");
inline constexpr int kSstvLines = LinesOf("SSTV");

// Records what the form showed and the messages it was given, edits the shown
// texts as told and confirms or cancels.
class ScriptedOperator : public IUserInterface {
 public:
  using Texts = std::map<int, std::string>;

  int RunHeaderForm(Cabrillo& form) override {
    Texts shown = form.OpeningTexts();
    loaded.push_back(form);
    opened.push_back(shown);
    if (edit) {
      edit(shown);
    }
    if (answer == kDialogOk) {
      form.TakeBack(shown);
    }
    return answer;
  }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.emplace_back(text, caption);
    if (watched != nullptr) {
      watchedWhileShown.push_back(*watched);
    }
  }

  int RunSetupDialog(int& checked) override {
    setupShown.push_back(checked);
    return kDialogCancel;
  }

  // What the modal run answers: kDialogOk, kDialogCancel or kDialogFailed.
  int answer = kDialogOk;
  // Applied to the shown texts before the operator closes the form.
  std::function<void(Texts&)> edit;

  std::vector<Cabrillo> loaded;  // the form's members as each run opened
  std::vector<Texts> opened;     // what each control showed
  std::vector<std::pair<std::string, std::string>> messages;  // text, caption
  // A value to look at while each message is shown, and what it was.
  const int* watched = nullptr;
  std::vector<int> watchedWhileShown;
  std::vector<int> setupShown;  // the check box's state as each setup dialog opened
};

// Every file in the working folder but the settings folder.
inline std::set<std::string> FilesHere() {
  std::set<std::string> names = FilesIn(".");
  names.erase("Plugins");
  return names;
}
