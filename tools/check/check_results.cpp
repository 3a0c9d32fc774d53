#include "tools/check/check_results.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "contest/report_formats.h"
#include "platform/text.h"
#include "tools/check/shown_text.h"

namespace {

// The count columns of the results tables: every verdict but the one that
// counts, which the checked QSOs already say.
constexpr std::array<Verdict, kVerdictCount - 1> CountedVerdicts() {
  std::array<Verdict, kVerdictCount - 1> counted{};
  std::size_t n = 0;
  for (Verdict v : kVerdictsByCountColumn) {
    if (ClassOf(v).effect != VerdictEffect::kCounts && n < counted.size()) {
      counted[n++] = v;
    }
  }
  return counted;
}
constexpr std::array<Verdict, kVerdictCount - 1> kCountedVerdicts = CountedVerdicts();

int CountOf(const StationResult& r, Verdict v) { return r.counts[static_cast<std::size_t>(v)]; }

// A text table whose columns are as wide as their widest cell; numbers are
// aligned right, the call left.
class TextTable {
 public:
  explicit TextTable(std::vector<std::string> headings) : rows_{std::move(headings)} {}
  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

  std::string Text(std::size_t leftColumn) const {
    std::vector<std::size_t> widths(rows_.front().size(), 0);
    for (const auto& row : rows_) {
      for (std::size_t c = 0; c < row.size(); ++c) {
        widths[c] = std::max(widths[c], row[c].size());
      }
    }
    std::string text;
    for (const auto& row : rows_) {
      std::string line;
      for (std::size_t c = 0; c < row.size(); ++c) {
        const std::string pad(widths[c] - row[c].size(), ' ');
        line += c == 0 ? "" : "  ";
        line += c == leftColumn ? row[c] + pad : pad + row[c];
      }
      while (!line.empty() && line.back() == ' ') {
        line.pop_back();
      }
      text += line + "\n";
    }
    return text;
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

std::string SettingsLine(const CheckSettings& settings) {
  return "time window " + std::to_string(settings.windowMinutes) + " minutes; unique calls " +
         (settings.removeUniques ? "removed" : "kept");
}

std::string FileAndLine(const ContestLogs& logs, const LoggedQso& q) {
  return logs.StationAt(q.station).files[q.file] + ":" + std::to_string(q.line);
}

// A claimed figure as the results print it: the number, or "-" when the
// sheet's figures cannot be true.
std::string ClaimedText(const StationResult& r, std::int64_t n) {
  return r.claimFault.empty() ? std::to_string(n) : std::string("-");
}

std::string ClaimMark(const StationResult& r) {
  return !r.claimFault.empty() ? "!" : r.claimedFromSheet ? "" : "*";
}

}  // namespace

std::string PeriodText(const CheckSettings& settings) {
  if (!settings.startMinute && !settings.endMinute) {
    return "all dates (" + settings.periodSource + ")";
  }
  return (settings.startMinute ? MinuteText(*settings.startMinute) : std::string("...")) + " to " +
         (settings.endMinute ? MinuteText(*settings.endMinute) : std::string("...")) + " (" +
         settings.periodSource + ")";
}

std::string CategoryLabel(const std::string& category) {
  return category == kOtherCategory ? "among stations whose power category is not stated"
                                    : "in category " + category;
}

std::string ClockHint(int minutes) {
  return "your clock looked about " + std::to_string(std::abs(minutes)) + " minutes " +
         (minutes < 0 ? "slow" : "fast");
}

std::string ScoreChange(const StationResult& r) {
  const std::int64_t claimed = r.claimed.TotalScore();
  if (!r.claimFault.empty() || claimed <= 0) {
    return std::string();
  }
  const double change =
      100.0 * static_cast<double>(r.checked.TotalScore() - claimed) / static_cast<double>(claimed);
  return FormatText("%+.1f %%", change);
}

std::string ResultsText(const ContestLogs& logs, const std::vector<StationResult>& ranked,
                        const CheckSettings& settings) {
  std::vector<std::string> headings = {"Place",         "Call",         "Claimed QSOs",
                                       "Claimed score", "Checked QSOs", "Checked score"};
  for (const ModeGroup& g : kModeGroups) {
    headings.emplace_back(g.heading);
  }
  for (Verdict v : kCountedVerdicts) {
    headings.emplace_back(VerdictWord(v));
  }
  TextTable table(std::move(headings));
  bool anyFromLogs = false;
  std::string faults;
  for (const StationResult& r : ranked) {
    anyFromLogs = anyFromLogs || !r.claimedFromSheet;
    if (!r.claimFault.empty()) {
      faults += "  " + logs.StationAt(r.station).call + ": " + r.claimFault + "\n";
    }
    std::vector<std::string> row = {std::to_string(r.place),
                                    logs.StationAt(r.station).call,
                                    ClaimedText(r, r.claimed.TotalQsos()),
                                    ClaimedText(r, r.claimed.TotalScore()) + ClaimMark(r),
                                    std::to_string(r.checked.TotalQsos()),
                                    std::to_string(r.checked.TotalScore())};
    for (std::int64_t score : r.checked.scores) {
      row.push_back(std::to_string(score));
    }
    for (Verdict v : kCountedVerdicts) {
      row.push_back(std::to_string(CountOf(r, v)));
    }
    table.Add(std::move(row));
  }
  std::string text = "KOVA Brawlcup Digital Prefix Contest: checked results\n";
  text += std::to_string(ranked.size()) + " stations; QSOs from " + MinuteText(logs.firstMinute) +
          " to " + MinuteText(logs.lastMinute) + "; " + SettingsLine(settings) + "\n\n";
  text += table.Text(1);
  if (anyFromLogs) {
    text +=
        "\n* no summary sheet with a readable score table: the claimed score is worked out from "
        "the station's logs\n";
  }
  if (!faults.empty()) {
    text += "\n! the summary sheet's figures cannot be true:\n" + faults;
  }
  return text;
}

std::string ResultsCsv(const ContestLogs& logs, const std::vector<StationResult>& ranked) {
  std::string text =
      "place,call,claimed_qsos,claimed_score,claimed_from,checked_qsos,checked_score";
  for (const ModeGroup& g : kModeGroups) {
    text += ",score_" + std::string(g.heading);
  }
  for (Verdict v : kCountedVerdicts) {
    text += "," + std::string(VerdictWord(v));
  }
  text += "\n";
  for (const StationResult& r : ranked) {
    const bool credible = r.claimFault.empty();
    text += std::to_string(r.place) + "," + CsvField(logs.StationAt(r.station).call) + "," +
            (credible ? std::to_string(r.claimed.TotalQsos()) : std::string()) + "," +
            (credible ? std::to_string(r.claimed.TotalScore()) : std::string()) + "," +
            (!credible            ? "invalid"
             : r.claimedFromSheet ? "sheet"
                                  : "logs") +
            "," + std::to_string(r.checked.TotalQsos()) + "," +
            std::to_string(r.checked.TotalScore());
    for (std::int64_t score : r.checked.scores) {
      text += "," + std::to_string(score);
    }
    for (Verdict v : kCountedVerdicts) {
      text += "," + std::to_string(CountOf(r, v));
    }
    text += "\n";
  }
  return text;
}

std::string UbnFileName(const Station& station) { return station.fileWord + ".ubn.txt"; }

std::string QsoLineText(const ContestLogs& logs, int qso) {
  const LoggedQso& q = logs.QsoAt(qso);
  const ModeGroup& group = kModeGroups[q.group];
  return FormatText(kQsoLineFormat, q.khz,
                    std::string(group.modes[q.code].code).c_str(), MinuteText(q.minute).c_str(),
                    logs.StationAt(q.station).call.c_str(), logs.texts.Text(q.sent).c_str(),
                    logs.texts.Text(q.call).c_str(), logs.texts.Text(q.rcvd).c_str());
}

std::string VerdictDetail(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                          int qso, const CheckSettings& settings) {
  std::string text;
  AppendVerdictDetail(logs, verdicts, qso, settings, text);
  return text;
}

void AppendVerdictDetail(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts, int qso,
                         const CheckSettings& settings, std::string& out) {
  const LoggedQso& q = logs.QsoAt(qso);
  const LineVerdict& v = verdicts[static_cast<std::size_t>(qso)];
  const std::string& call = logs.texts.Text(q.call);
  const Station& own = logs.StationAt(q.station);
  const LoggedQso* other = v.other >= 0 ? &logs.QsoAt(v.other) : nullptr;
  // The other line as "RTTY.log:12", with its station's call in front.
  auto otherLine = [&](bool withCall) {
    const Station& s = logs.StationAt(other->station);
    if (withCall) {
      out += s.call;
      out += ' ';
    }
    out += s.files[other->file];
    out += ':';
    out += std::to_string(other->line);
  };
  switch (v.verdict) {
    case Verdict::kOk:
      otherLine(true);
      if (other->call != own.callText) {
        out += " (logged as " + logs.texts.Text(other->call) + ")";
      }
      return;
    case Verdict::kBustedExch:
      out += "received " + logs.texts.Text(q.rcvd) + ", " + logs.StationAt(other->station).call +
             " sent " + logs.texts.Text(other->sent) + " (";
      otherLine(false);
      out += ")";
      return;
    case Verdict::kBustedCall:
      out += "most likely " + logs.StationAt(other->station).call + ": ";
      otherLine(false);
      out += " logs " + own.call + " at " + MinuteText(other->minute);
      return;
    case Verdict::kNil:
      out += "no QSO with " + own.call + " on " + std::string(kOperatorBands[q.band].label) + " " +
             std::string(kModeGroups[q.group].heading) + " within " +
             std::to_string(settings.windowMinutes) + " minutes in " + call + "'s log";
      if (other != nullptr) {
        out += "; nearest: ";
        otherLine(false);
        out += " at " + MinuteText(other->minute);
      }
      return;
    case Verdict::kUnique:
      out += call + (logs.SentUnusedLog(q.call) ? "'s folder was not used" : " sent no log") +
             " and is in no other log";
      return;
    case Verdict::kUnchecked:
      out += call + (logs.SentUnusedLog(q.call) ? "'s folder was not used" : " sent no log") +
             "; " + std::to_string(v.otherLoggers) + " other log" +
             (v.otherLoggers == 1 ? " holds" : "s hold") + " it";
      return;
    case Verdict::kDupe:
      out += "repeats ";
      otherLine(false);
      return;
  }
}

std::string UbnText(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                    const StationResult& result, int stationCount, const CheckSettings& settings) {
  const Station& station = logs.StationAt(result.station);
  std::string text = "UBN report of " + station.call + "\n";
  text += "KOVA Brawlcup Digital Prefix Contest; " + SettingsLine(settings) + "\n\n";
  text += "Place " + std::to_string(result.place) + " of " + std::to_string(stationCount) + ", " +
          std::to_string(result.categoryPlace) + " " + CategoryLabel(CategoryOf(station)) +
          (station.club.empty() ? std::string() : "; club " + station.club) + "\n";
  if (!result.claimFault.empty()) {
    text += "Claimed: the figures of summary sheet " + station.sheetFile + " cannot be true (" +
            result.claimFault + ")\n";
  } else {
    text +=
        "Claimed: " + std::to_string(result.claimed.TotalQsos()) + " QSOs, score " +
        std::to_string(result.claimed.TotalScore()) +
        (result.claimedFromSheet     ? " (summary sheet " + station.sheetFile + ")"
         : station.sheetFile.empty() ? std::string(" (worked out from the logs, unchecked)")
                                     : " (worked out from the logs, unchecked: summary sheet " +
                                           station.sheetFile + " holds no readable score table)") +
        "\n";
  }
  text += "Checked: " + std::to_string(result.checked.TotalQsos()) + " QSOs, score " +
          std::to_string(result.checked.TotalScore()) + "\n";
  if (CreditedFarAboveClaim(result)) {
    text += "Note: the checked score is far above the claim; is every QSO real?\n";
  }
  if (result.clockMinutes) {
    text += "Note: " + ClockHint(*result.clockMinutes) +
            " against its partners' (matching goes by the times as logged)\n";
  }
  text += "\n";
  for (Verdict v : kVerdictsByCountColumn) {
    text += (v == kVerdictsByCountColumn.front() ? "" : ", ") + std::string(VerdictWord(v)) + " " +
            std::to_string(CountOf(result, v));
  }
  const auto lost = [&](const VerdictClass& c) {
    return !KeptForScore(c.verdict, settings) && c.effect != VerdictEffect::kNoPoints;
  };
  const auto kept = [&](const VerdictClass& c) {
    return KeptForScore(c.verdict, settings) && c.effect != VerdictEffect::kCounts;
  };
  const auto noPoints = [](const VerdictClass& c) { return c.effect == VerdictEffect::kNoPoints; };
  text += "\n\nQSOs that are not OK (removed: " + VerdictWordsWhere(lost) +
          "; kept: " + VerdictWordsWhere(kept) + "; no points: " + VerdictWordsWhere(noPoints) +
          ")\n";
  bool any = false;
  for (int i = station.firstQso; i < station.firstQso + station.qsoCount; ++i) {
    const Verdict verdict = verdicts[static_cast<std::size_t>(i)].verdict;
    if (ClassOf(verdict).effect == VerdictEffect::kCounts) {
      continue;
    }
    any = true;
    text += FormatText("\n%-12s ", std::string(VerdictWord(verdict)).c_str()) +
            FileAndLine(logs, logs.QsoAt(i)) + "  " + QsoLineText(logs, i) + "\n";
    text += std::string(13, ' ') + VerdictDetail(logs, verdicts, i, settings) + "\n";
  }
  if (!any) {
    text += "\nnone\n";
  }
  if (!station.unread.empty()) {
    text += "\nLines not read\n";
    for (const UnreadLine& u : station.unread) {
      text += "  " + station.files[static_cast<std::size_t>(u.file)] + ":" +
              std::to_string(u.line) + "  " + u.reason + "\n";
    }
    if (station.unreadMore > 0) {
      text += "  and " + std::to_string(station.unreadMore) + " more lines not read\n";
    }
  }
  if (!station.messages.empty()) {
    text += "\nNotes on its files\n";
    for (const std::string& message : station.messages) {
      text += "  " + message + "\n";
    }
  }
  return text;
}

void AppendVerdictLines(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        int station, const CheckSettings& settings, std::string& out) {
  const Station& s = logs.StationAt(station);
  std::vector<std::string> paths;
  for (std::size_t f = 0; f < s.files.size(); ++f) {
    paths.push_back(logs.PathOf(station, static_cast<int>(f)));
  }
  for (int i = s.firstQso; i < s.firstQso + s.qsoCount; ++i) {
    const LoggedQso& q = logs.QsoAt(i);
    out += s.call;
    out += '\t';
    out += paths[q.file];
    out += '\t';
    out += std::to_string(q.line);
    out += '\t';
    out += VerdictWord(verdicts[static_cast<std::size_t>(i)].verdict);
    out += '\t';
    AppendVerdictDetail(logs, verdicts, i, settings, out);
    out += '\n';
  }
}
