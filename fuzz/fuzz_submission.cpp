// The log checker's reader of submitted files on any bytes: the lines of a
// per-mode log, each QSO line's fields, and the summary sheet. It must never
// crash, every line must be accounted for, what it accepts must lie within
// its limits, and every reason it gives must be short, valid UTF-8 without
// control characters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/check/check_results.h"
#include "tools/check/shown_text.h"
#include "tools/check/submitted_log.h"
#include "tools/common/contest_time.h"

namespace {

void Check(bool ok) {
  if (!ok) {
    std::abort();
  }
}

bool Printable(std::string_view text) {
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      return false;
    }
  }
  return ShownText(text, text.size()) == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  int previous = 0;
  std::size_t seen = 0;
  ForEachTextLine(bytes, [&](int number, std::string_view line) {
    Check(number == previous + 1);
    previous = number;
    seen += line.size();
    Check(line.find_first_of("\r\n") == std::string_view::npos);
    QsoLineFields q;
    std::string reason;
    if (ParseQsoLine(line, q, reason)) {
      Check(q.ownCall.size() <= kMaxCallChars && q.theirCall.size() <= kMaxCallChars);
      Check(q.sent.size() <= kMaxSerialChars && q.rcvd.size() <= kMaxSerialChars);
      Check(q.minute >= kFirstDay * kMinutesPerDay && q.minute < (kLastDay + 1) * kMinutesPerDay);
      Check(q.band >= 0 && q.group >= 0);
    } else {
      Check(!reason.empty() && reason.size() < 300 && Printable(reason));
    }
  });
  Check(seen <= size);
  const SubmittedLog::Sheet sheet = ParseSheet(bytes);
  Check(Printable(sheet.category) && Printable(sheet.club));
  Check(sheet.firstDay.has_value() == sheet.lastDay.has_value());
  if (sheet.firstDay) {
    Check(*sheet.firstDay <= *sheet.lastDay && *sheet.firstDay >= kFirstDay &&
          *sheet.lastDay <= kLastDay);
  }
  if (sheet.table) {
    sheet.table->TotalScore();
    sheet.table->TotalQsos();
    Check(Printable(ClaimFault(*sheet.table)));
  }
  Check(Printable(ShownText(bytes)));
  Check(Printable(CsvField(ShownText(bytes))) || CsvField(ShownText(bytes)).front() == '"');
  return 0;
}
