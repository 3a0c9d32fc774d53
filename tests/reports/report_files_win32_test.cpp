// A report run while a viewer holds a per-mode log open: the log is written
// whenever the viewer shares writing, and named as not written otherwise.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "reports/contest_report.h"
#include "reports/report_test_support.h"
#include "test_support.h"

using ReportFilesWin32Test = ScratchDirTest;

TEST_F(ReportFilesWin32Test, ALogAViewerHoldsOpenIsWrittenWhenTheViewerSharesWriting) {
  struct Case {
    DWORD shares;
    std::string said;
  };
  const Case cases[] = {
      {FILE_SHARE_READ | FILE_SHARE_WRITE, "File produced: Q1AB.sum"},
      {FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, "File produced: Q1AB.sum"},
      {FILE_SHARE_READ, "File produced: Q1AB.sum\r\nNot written: RTTY.log (" +
                            SystemReason(ERROR_SHARING_VIOLATION) + ")"},
  };
  for (const Case& c : cases) {
    std::remove("Q1AB.sum");
    CContestReport report;
    report.m_fileWord = "Q1AB";
    report.m_modeLines[kRttyLines] = {"QSO: new\r\n"};
    WriteFile("RTTY.log", "QSO: old\r\n");
    HANDLE viewer = ::CreateFileA("RTTY.log", GENERIC_READ, c.shares, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, viewer);
    EXPECT_EQ(c.said, report.WriteReports("table\n", HostTime(2016, 2, 20))) << c.shares;
    ::CloseHandle(viewer);
    EXPECT_EQ(c.said.find("Not written") == std::string::npos ? "QSO: new\r\n" : "QSO: old\r\n",
              ReadFile("RTTY.log"))
        << c.shares;
    EXPECT_EQ((std::set<std::string>{"RTTY.log", "Q1AB.sum"}), FilesHere()) << c.shares;
  }
}
