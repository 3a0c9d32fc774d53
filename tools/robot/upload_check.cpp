#include "upload_check.h"

#include <algorithm>
#include <set>

#include "platform/text.h"
#include "robot_limits.h"
#include "tools/check/check_contacts.h"
#include "tools/check/contest_logs.h"
#include "tools/common/contest_time.h"
#include "tools/check/shown_text.h"
#include "zip_files.h"

namespace {

constexpr std::size_t kShownNameChars = 60;

// Characters of a UTF-8 text (bytes that do not continue one).
std::size_t Characters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && EqualsNoCase(text.substr(text.size() - end.size()), end);
}

bool PrintableAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

void CheckFields(UploadForm& form, CheckedUpload& out) {
  out.call = ToUpperAscii(TrimWhiteSpace(form.call));
  if (out.call.empty()) {
    out.problems.push_back("the call is missing");
  } else if (const std::string fault = CallFault(out.call); !fault.empty()) {
    out.problems.push_back("the " + fault);
  }
  out.email = std::string(TrimWhiteSpace(form.email));
  const std::size_t at = out.email.find('@');
  if (out.email.size() > kMaxEmailChars || !PrintableAscii(out.email) ||
      at == std::string::npos || at == 0 || at + 1 == out.email.size() ||
      out.email.find('@', at + 1) != std::string::npos) {
    out.problems.push_back("'" + ShownText(out.email) + "' is not an e-mail address (at most " +
                           std::to_string(kMaxEmailChars) + " characters)");
  }
  out.power = ToUpperAscii(TrimWhiteSpace(form.power));
  if (out.power != "HIGH" && out.power != "LOW" && out.power != "QRP") {
    out.problems.push_back("the power category '" + ShownText(out.power) +
                           "' is none of HIGH, LOW and QRP");
  }
  out.club = std::string(TrimWhiteSpace(form.club));
  if (Characters(out.club) > kMaxClubChars ||
      ShownText(out.club, kMaxClubChars + 1) != out.club) {
    out.problems.push_back("the club's name holds more than " + std::to_string(kMaxClubChars) +
                           " characters or characters that are not text");
  }
}

// The files to read: a zip's unpacked, names cut to their last part. Each
// file passing a bound is named.
std::vector<SubmittedFile> FilesToRead(std::vector<SubmittedFile> sent,
                                       std::vector<std::string>& problems) {
  std::vector<SubmittedFile> files;
  for (SubmittedFile& file : sent) {
    file.name = file.name.substr(file.name.find_last_of("/\\") + 1);
    if (file.name.empty() && file.bytes.empty()) {
      continue;  // the form's file field left empty
    }
    const std::string shown = ShownText(file.name, kShownNameChars);
    if (file.name.empty()) {
      problems.push_back("a file was sent without a name");
    } else if (file.name.size() > kMaxFileNameChars) {
      problems.push_back(shown + ": a file name is at most " + std::to_string(kMaxFileNameChars) +
                         " characters long");
    } else if (ShownText(file.name, kMaxFileNameChars) != file.name) {
      problems.push_back(shown + ": a file name holds characters that are not text");
    } else if (EndsWithNoCase(file.name, ".zip") || LooksLikeZip(file.bytes)) {
      std::string problem;
      if (!UnpackZip(file.name, file.bytes, kMaxUploadFiles, kMaxUnzippedBytes, files, problem)) {
        problems.push_back(problem);
      }
    } else {
      files.push_back(std::move(file));
    }
  }
  if (files.empty() && problems.empty()) {
    problems.push_back("no file was sent");
  }
  if (files.size() > kMaxUploadFiles) {
    problems.push_back(std::to_string(files.size()) + " files were sent; an upload takes at most " +
                       std::to_string(kMaxUploadFiles));
    files.clear();
  }
  std::set<std::string> names;
  for (const SubmittedFile& file : files) {
    const std::string shown = ShownText(file.name, kShownNameChars);
    if (!names.insert(file.name).second) {
      problems.push_back(shown + " was sent twice");
    }
    std::size_t lines = 0;
    ForEachTextLine(file.bytes, [&](int, std::string_view) { ++lines; });
    if (lines > kMaxFileLines) {
      problems.push_back(shown + " has " + std::to_string(lines) + " lines; a file may have " +
                         std::to_string(kMaxFileLines));
    }
  }
  return problems.empty() ? files : std::vector<SubmittedFile>();
}

void CheckContents(const SubmittedLog& log, const TextPool& texts, const ContestPeriod& period,
                   CheckedUpload& out) {
  auto& problems = out.problems;
  problems.insert(problems.end(), log.messages.begin(), log.messages.end());
  for (const UnreadLine& u : log.unread) {
    problems.push_back(log.files[static_cast<std::size_t>(u.file)] + " line " +
                       std::to_string(u.line) + ": " + u.reason);
  }
  if (log.unreadMore > 0) {
    problems.push_back("and " + std::to_string(log.unreadMore) +
                       " more lines that cannot be read");
  }
  for (const auto& [callText, files] : log.ownCalls) {
    if (texts.Text(callText) != out.call) {
      std::string named;
      for (const std::string& file : files) {
        named += (named.empty() ? "" : ", ") + file;
      }
      problems.push_back(named + ": the QSO lines give the own call " +
                         ShownText(texts.Text(callText)) + ", not " + ShownText(out.call));
    }
  }
  if (log.qsos.empty()) {
    problems.push_back("the files hold no readable QSO line");
  }
  for (const LoggedQso& q : log.qsos) {
    if ((period.startMinute && q.minute < *period.startMinute) ||
        (period.endMinute && q.minute > *period.endMinute)) {
      problems.push_back(log.files[q.file] + " line " + std::to_string(q.line) + ": " +
                         MinuteText(q.minute) + " lies outside the contest period (" +
                         PeriodText(period) + ")");
    }
  }
  for (const SubmittedLog::Sheet& sheet : log.sheets) {
    if (sheet.call.empty()) {
      problems.push_back(sheet.file + " names no call (\"Callsign Used\")");
    } else if (sheet.call != out.call) {
      problems.push_back(sheet.file + " names " + ShownText(sheet.call) + ", not " +
                         ShownText(out.call));
    }
  }
}

}  // namespace

std::string PeriodText(const ContestPeriod& period) {
  if (period.startMinute && period.endMinute) {
    return MinuteText(*period.startMinute) + " to " + MinuteText(*period.endMinute);
  }
  if (period.startMinute) {
    return "from " + MinuteText(*period.startMinute);
  }
  if (period.endMinute) {
    return "until " + MinuteText(*period.endMinute);
  }
  return "any time";
}

CheckedUpload CheckUpload(UploadForm form, const ContestPeriod& period) {
  CheckedUpload out;
  CheckFields(form, out);
  std::vector<std::string> fileProblems;
  std::vector<SubmittedFile> files = FilesToRead(std::move(form.files), fileProblems);
  if (!fileProblems.empty()) {
    out.problems.insert(out.problems.end(), fileProblems.begin(), fileProblems.end());
    return out;
  }
  TextPool texts;
  SubmittedLog log = ReadSubmittedFiles(files, texts);
  CheckContents(log, texts, period, out);
  if (!out.problems.empty()) {
    return out;
  }
  const ContestLogs logs = AssembleContest({std::move(log)}, std::move(texts));
  if (logs.stations.size() != 1) {
    out.problems.push_back("the files cannot be used as one station's log");
    return out;
  }
  HostQsos host(logs);
  out.contacts = host.Of(logs.stations.front(), nullptr, CheckSettings());
  out.firstDay = HostDateTime(logs.firstMinute / kMinutesPerDay);
  out.lastDay = HostDateTime(logs.lastMinute / kMinutesPerDay);
  out.files = std::move(files);
  return out;
}
