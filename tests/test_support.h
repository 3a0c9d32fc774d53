// Shared helpers for the unit tests: a scratch working folder per test (the
// plug-in writes relative to the current directory), file reading, host-style
// calls of the exports with their full argument lists, and a fake panel.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/ole_date_time.h"
#include "tools/common/host_contact.h"

#if defined(_WIN32)
// The Windows build of the tests has no symbolic links: a test that needs one
// finds it cannot make it and skips.
inline int symlink(const char*, const char*) { return -1; }
#endif
#include "windows/panel_control.h"

// Runs each test in a new empty folder that holds a "Plugins" folder, on a
// freshly built module state.
class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string dir_;
  std::string previous_;
};

std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
void RemoveDirTree(const std::string& path);
void MakeDir(const std::string& path);

// What a failed write says when a folder stands where the file should go.
std::string FolderInTheWayReason();
#if defined(_WIN32)
// The system's words for a Windows error code, as a failed write gives them.
std::string SystemReason(unsigned long error);
#endif

// The names in a folder (without "." and "..").
std::set<std::string> FilesIn(const std::string& folder);
// True for a symbolic link (never on Windows, where the tests make none).
bool IsLink(const std::string& path);

// A valid host date-time for a calendar date and time.
COleDateTime HostTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
COleDateTime NullTime();
COleDateTime InvalidTime();

// One contact as the host describes it, with every field set (Q2AA on 20 m in
// RTTY at 09:05, serials 001 and 002) and the own call that goes with it.
struct HostQso : HostContact {
  HostQso();
  std::string ownCall = "Q1OWN";
};

int HostAdd(const HostQso& q);
int HostRemove(const HostQso& q);
int HostCheck(const std::string& call, const std::string& mode, const std::string& prefix,
              const std::string& exchange, const char* band, const char* otherBand);
int HostReset(int reportFlag, const std::string& callsign, COleDateTime start, COleDateTime end);
int HostReset(int reportFlag = 0, const std::string& callsign = "Q1OWN");

// A panel that only records what was asked of it.
class FakePanel : public IPanelControl {
 public:
  bool IsRunning() const override { return running; }
  void Start() override {
    ++starts;
    running = true;
  }
  void Stop() override {
    ++stops;
    running = false;
  }
  void Nudge() override { ++nudges; }

  bool running = false;
  int starts = 0;
  int stops = 0;
  int nudges = 0;
};
