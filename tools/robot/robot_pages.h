// The robot's pages: the upload form, a receipt, a refusal, the logs
// received, the back office. Every text that came from a request or a file is
// escaped; the pages need no script, and their style is one file of the
// robot's own (/style.css), so the security policy can forbid everything else.
//
// Pure functions; safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "robot_store.h"

// What a page says about the contest: its period and the deadline, as text.
struct ContestTexts {
  std::string period;    // "2016-02-13 0000 to 2016-02-14 2359" or "any time"
  std::string deadline;  // "2016-02-20 2359", or empty for none
  bool closed = false;   // the deadline has passed
};

// "2016-02-13 21:04:05 UTC" of seconds since 1970.
std::string UtcText(std::int64_t seconds);

std::string StyleSheet();

std::string UploadPage(const ContestTexts& contest, const std::string& token);
// `replaced`: the time of the upload this one replaces, if any.
std::string ReceiptPage(const UploadRecord& upload, std::optional<std::int64_t> replaced);
std::string RefusalPage(const std::string& call, const std::vector<std::string>& problems);
std::string ReceivedPage(const std::vector<UploadRecord>& latest, const ContestTexts& contest);

// A short page for an answer that is not a page of its own (404, 413 ...).
std::string MessagePage(const std::string& title, const std::string& text);

std::string LoginPage(const std::string& token, const std::string& message, bool passwordSet);
// The back office: every station (its latest upload and how many it sent),
// the refused attempts, and the check-and-publish form.
struct StationLine {
  UploadRecord latest;
  int uploads = 0;
  int refusals = 0;
};
std::string AdminPage(const std::vector<StationLine>& stations,
                      const std::vector<RefusalRecord>& refusals, const std::string& token,
                      const std::string& publishReport);
std::string AdminStationPage(const std::string& call, const std::vector<UploadRecord>& history,
                             const std::vector<RefusalRecord>& refusals);
