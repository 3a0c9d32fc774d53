// Submission folders for the log checker's tests: a temporary folder per test
// in which each station's files are written from lines of text, and the whole
// contest read back as stats-check reads it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/check/contest_logs.h"
#include "tools/check/submitted_log.h"

class SubmissionFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("stats_check_test_" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  // Writes `lines` (each ended with CR LF) as `file` of `folder`; returns the
  // folder's path.
  std::string Write(const std::string& folder, const std::string& file,
                    const std::vector<std::string>& lines) {
    const std::filesystem::path dir = root_ / folder;
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / file, std::ios::binary);
    for (const std::string& line : lines) {
      out << line << "\r\n";
    }
    return dir.string();
  }

  // Reads the folders as one contest; what the stations' folders and the
  // folders not used say lands in `messages_`, in that order.
  ContestLogs Read(const std::vector<std::string>& folders) {
    TextPool texts;
    std::vector<SubmittedLog> submissions;
    for (const std::string& folder : folders) {
      submissions.push_back(ReadSubmission(folder, texts));
    }
    ContestLogs logs = AssembleContest(std::move(submissions), std::move(texts));
    for (const Station& s : logs.stations) {
      messages_.insert(messages_.end(), s.messages.begin(), s.messages.end());
    }
    for (const UnusedFolder& u : logs.unused) {
      messages_.push_back(u.folder + ": " + u.reason + "; not used");
      messages_.insert(messages_.end(), u.messages.begin(), u.messages.end());
    }
    return logs;
  }

  std::filesystem::path root_;
  std::vector<std::string> messages_;
};
