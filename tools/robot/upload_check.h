// An upload checked at once, with the reader stats-check reads submissions
// with: every line that cannot be read (file and line), the own call of the
// lines against the form's call, at least one readable QSO line, QSO times
// inside the contest period, and the summary sheet's call. Every problem is
// listed, not the first only; an upload with any is refused whole.
//
// Pure; safe on any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/common/host_contact.h"
#include "tools/check/submitted_log.h"

struct UploadForm {
  std::string call;
  std::string email;
  std::string power;
  std::string club;
  std::vector<SubmittedFile> files;  // as sent: logs, a sheet, or a zip of them
};

// The contest period in minutes since 30 December 1899; an empty end is open.
struct ContestPeriod {
  std::optional<int> startMinute;
  std::optional<int> endMinute;
};

struct CheckedUpload {
  std::vector<std::string> problems;  // each a sentence, made safe to show
  // When there are none: the form's texts as kept, the files (a zip's
  // unpacked), and the QSO lines as the host hands them to the plug-in.
  std::string call;
  std::string email;
  std::string power;
  std::string club;
  std::vector<SubmittedFile> files;
  std::vector<HostContact> contacts;
  COleDateTime firstDay;  // the first and last QSO's days, for the plug-in's reset
  COleDateTime lastDay;
};

CheckedUpload CheckUpload(UploadForm form, const ContestPeriod& period);

// "2016-02-13 0000 to 2016-02-14 2359", or with an open end "from ..."/"until ...".
std::string PeriodText(const ContestPeriod& period);
