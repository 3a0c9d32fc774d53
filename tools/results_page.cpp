#include "tools/results_page.h"

#include <algorithm>
#include <array>

#include "contest/mode_groups.h"
#include "platform/text.h"
#include "tools/shown_text.h"

namespace {

// One colour per score column, told apart also by readers with the common
// colour-vision deficiencies (Okabe and Ito's palette).
constexpr std::array<const char*, kModeGroupCount> kGroupColours = {
    "#0072B2", "#E69F00", "#009E73", "#CC79A7", "#56B4E9", "#D55E00", "#F0E442"};
constexpr char kOkColour[] = "#009E73";
constexpr char kFaultColour[] = "#D55E00";

constexpr char kStyle[] =
    "body{font-family:sans-serif;margin:1.5em auto;max-width:90em;padding:0 1em;color:#222}"
    "h1{margin-bottom:.2em}p.sub{color:#555;margin-top:0}"
    "table{border-collapse:collapse;font-size:.85em}"
    "th,td{padding:.2em .5em;border-bottom:1px solid #ddd;white-space:nowrap}"
    "th{background:#f3f3f3;text-align:right;white-space:normal;vertical-align:bottom}"
    "td{text-align:right}"
    "td.l,th.l,table.u td,table.u th{text-align:left}"
    "tr:hover td{background:#fafae8}"
    "section.ubn{margin-top:1.5em;border-top:2px solid #ccc}"
    "a{color:#0050a0}svg text{font-family:sans-serif;font-size:11px;fill:#333}"
    ".wrap{overflow-x:auto}";

// The text of an integer, and of a share as "12.3 %".
std::string Number(std::int64_t n) { return std::to_string(n); }

std::string Percent(std::int64_t part, std::int64_t whole) {
  return FormatText(
      "%.1f %%", whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0);
}

std::string Fixed(double v) { return FormatText("%.1f", v); }

// A small square of a colour for a legend.
std::string Swatch(const char* colour) {
  return std::string("<svg width=\"12\" height=\"12\"><rect width=\"12\" height=\"12\" fill=\"") +
         colour + "\"/></svg>";
}

std::string Anchor(const std::string& call) { return "ubn-" + HtmlEscape(call); }

// The smallest of 1, 2 or 5 times a power of ten that is at least `n`, so the
// axis is marked at round numbers.
int RoundUp(int n) {
  for (int scale = 1;; scale *= 10) {
    for (int step : {1, 2, 5}) {
      if (step * scale >= n) {
        return step * scale;
      }
    }
  }
}

// The QSO lines of all logs per hour (per a few hours for a long period), the
// lines that keep their points at the foot of each bar, the others above.
std::string RateChart(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                      const CheckSettings& settings) {
  if (logs.qsos.empty()) {
    return "<p>No QSO lines.</p>";
  }
  const int firstHour = logs.firstMinute / 60;
  const int hours = logs.lastMinute / 60 - firstHour + 1;
  const int hoursPerBar = std::max(1, (hours + 239) / 240);
  const int bars = (hours + hoursPerBar - 1) / hoursPerBar;
  std::vector<int> ok(static_cast<std::size_t>(bars), 0);
  std::vector<int> other(static_cast<std::size_t>(bars), 0);
  for (std::size_t i = 0; i < logs.qsos.size(); ++i) {
    const auto bar = static_cast<std::size_t>((logs.qsos[i].minute / 60 - firstHour) / hoursPerBar);
    ++(KeptForScore(verdicts[i].verdict, settings) ? ok : other)[bar];
  }
  int most = 1;
  for (std::size_t b = 0; b < ok.size(); ++b) {
    most = std::max(most, ok[b] + other[b]);
  }
  most = RoundUp(most);
  const double left = 56;
  const double top = 10;
  const double plotHeight = 200;
  const double barWidth = std::max(3.0, std::min(16.0, 800.0 / bars));
  const double width = left + barWidth * bars + 10;
  const double height = top + plotHeight + 40;
  // Hour labels on whole hours of the day, at least 36 pixels apart.
  int labelHours = 24;
  for (int every : {1, 2, 3, 6, 12, 24}) {
    if (every % hoursPerBar == 0 && barWidth * every / hoursPerBar >= 36) {
      labelHours = every;
      break;
    }
  }
  auto y = [&](double count) { return top + plotHeight - plotHeight * count / most; };

  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"" +
                    Fixed(width) + "\" height=\"" + Fixed(height) + "\" viewBox=\"0 0 " +
                    Fixed(width) + " " + Fixed(height) + "\">";
  svg += "<title>QSO lines of all logs per " +
         (hoursPerBar == 1 ? std::string("hour") : Number(hoursPerBar) + " hours") + "</title>";
  for (int step = 0; step <= 4; ++step) {
    const double count = most * step / 4.0;
    svg += "<line x1=\"" + Fixed(left) + "\" x2=\"" + Fixed(width - 10) + "\" y1=\"" +
           Fixed(y(count)) + "\" y2=\"" + Fixed(y(count)) + "\" stroke=\"#ddd\"/>";
    svg += "<text x=\"" + Fixed(left - 4) + "\" y=\"" + Fixed(y(count) + 4) +
           "\" text-anchor=\"end\">" + Number(static_cast<std::int64_t>(count + 0.5)) + "</text>";
  }
  for (int b = 0; b < bars; ++b) {
    const auto i = static_cast<std::size_t>(b);
    const double x = left + barWidth * b;
    const std::string hour = MinuteText((firstHour + b * hoursPerBar) * 60);
    const std::string tip =
        hour + ": " + Number(ok[i]) + " kept, " + Number(other[i]) + " removed or dupes";
    svg += "<g><title>" + tip + "</title>";
    svg += "<rect x=\"" + Fixed(x) + "\" y=\"" + Fixed(y(ok[i])) + "\" width=\"" +
           Fixed(barWidth - 1) + "\" height=\"" + Fixed(top + plotHeight - y(ok[i])) +
           "\" fill=\"" + kOkColour + "\"/>";
    svg += "<rect x=\"" + Fixed(x) + "\" y=\"" + Fixed(y(ok[i] + other[i])) + "\" width=\"" +
           Fixed(barWidth - 1) + "\" height=\"" + Fixed(y(ok[i]) - y(ok[i] + other[i])) +
           "\" fill=\"" + kFaultColour + "\"/></g>";
    const int startHour = firstHour + b * hoursPerBar;
    if (startHour % labelHours == 0) {
      svg += "<text x=\"" + Fixed(x) + "\" y=\"" + Fixed(top + plotHeight + 14) + "\">" +
             hour.substr(11, 2) + "h</text>";
      if (startHour % 24 < labelHours) {
        svg += "<text x=\"" + Fixed(x) + "\" y=\"" + Fixed(top + plotHeight + 28) + "\">" +
               hour.substr(0, 10) + "</text>";
      }
    }
  }
  svg += "</svg>";
  const std::string unique = settings.removeUniques ? "" : ", UNIQUE";
  const std::string removedUnique = settings.removeUniques ? ", UNIQUE" : "";
  const std::string legend = "<p>" + Swatch(kOkColour) + " kept (OK, UNCHECKED" + unique +
                             ") &nbsp; " + Swatch(kFaultColour) +
                             " removed or no points (NIL, BUSTED-CALL, BUSTED-EXCH, DUPE" +
                             removedUnique + ")</p>";
  return "<div class=\"wrap\">" + svg + "</div>" + legend;
}

std::string GroupLegend() {
  std::string legend = "<p>";
  for (int g = 0; g < kModeGroupCount; ++g) {
    legend += Swatch(kGroupColours[static_cast<std::size_t>(g)]) + " " +
              std::string(kModeGroups[static_cast<std::size_t>(g)].heading) + " &nbsp; ";
  }
  return legend + "</p>";
}

// A station's checked score by score column, as long as the leader's is wide.
std::string ScoreBar(const ScoreTable& checked, std::int64_t leader) {
  constexpr double kWidth = 140;
  std::string svg = "<svg width=\"" + Fixed(kWidth) + "\" height=\"12\" role=\"img\">";
  double x = 0;
  for (int g = 0; g < kModeGroupCount; ++g) {
    const std::int64_t score = checked.scores[static_cast<std::size_t>(g)];
    if (score <= 0 || leader <= 0) {
      continue;
    }
    const double w = kWidth * static_cast<double>(score) / static_cast<double>(leader);
    svg += "<rect x=\"" + Fixed(x) + "\" width=\"" + Fixed(w) + "\" height=\"12\" fill=\"" +
           kGroupColours[static_cast<std::size_t>(g)] + "\"><title>" +
           std::string(kModeGroups[static_cast<std::size_t>(g)].heading) + " " + Number(score) +
           "</title></rect>";
    x += w;
  }
  return svg + "</svg>";
}

std::string RankedTable(const ContestLogs& logs, const std::vector<StationResult>& ranked) {
  const std::int64_t leader = ranked.empty() ? 0 : ranked.front().checked.TotalScore();
  std::string html =
      "<div class=\"wrap\"><table><tr><th>Place</th><th class=\"l\">Call</th>"
      "<th>Claimed QSOs</th><th>Claimed score</th><th>Checked QSOs</th>"
      "<th>Checked score</th><th class=\"l\">By mode group</th>";
  for (const ModeGroup& g : kModeGroups) {
    html += "<th>" + std::string(g.heading) + "</th>";
  }
  html +=
      "<th>NIL</th><th>BUSTED-CALL</th><th>BUSTED-EXCH</th><th>UNIQUE</th><th>DUPE</th>"
      "<th>UNCHECKED</th></tr>\n";
  for (const StationResult& r : ranked) {
    const std::string& call = logs.stations[static_cast<std::size_t>(r.station)].call;
    html += "<tr><td>" + Number(r.place) + "</td><td class=\"l\"><a href=\"#" + Anchor(call) +
            "\">" + HtmlEscape(call) + "</a></td><td>" + Number(r.claimed.TotalQsos()) +
            "</td><td>" + Number(r.claimed.TotalScore()) + (r.claimedFromSheet ? "" : "*") +
            "</td><td>" + Number(r.checked.TotalQsos()) + "</td><td><b>" +
            Number(r.checked.TotalScore()) + "</b></td><td class=\"l\">" +
            ScoreBar(r.checked, leader) + "</td>";
    for (std::int64_t score : r.checked.scores) {
      html += "<td>" + Number(score) + "</td>";
    }
    for (Verdict v : {Verdict::kNil, Verdict::kBustedCall, Verdict::kBustedExch, Verdict::kUnique,
                      Verdict::kDupe, Verdict::kUnchecked}) {
      html += "<td>" + Number(r.counts[static_cast<std::size_t>(v)]) + "</td>";
    }
    html += "</tr>\n";
  }
  html += "</table></div>";
  if (std::any_of(ranked.begin(), ranked.end(),
                  [](const StationResult& r) { return !r.claimedFromSheet; })) {
    html += "<p>* no summary sheet: the claimed score is worked out from the station's logs.</p>";
  }
  return html;
}

std::string VerdictTotals(const std::vector<LineVerdict>& verdicts) {
  std::array<std::int64_t, kVerdictCount> totals{};
  for (const LineVerdict& v : verdicts) {
    ++totals[static_cast<std::size_t>(v.verdict)];
  }
  const auto all = static_cast<std::int64_t>(verdicts.size());
  std::string html = "<table><tr><th class=\"l\">Verdict</th><th>QSO lines</th><th>Share</th></tr>";
  for (int v = 0; v < kVerdictCount; ++v) {
    const std::int64_t n = totals[static_cast<std::size_t>(v)];
    html += "<tr><td class=\"l\">" + std::string(VerdictWord(static_cast<Verdict>(v))) +
            "</td><td>" + Number(n) + "</td><td>" + Percent(n, all) + "</td></tr>";
  }
  return html + "</table>";
}

// The QSO of a line in its own columns, without the station's own call.
std::string QsoCells(const ContestLogs& logs, const LoggedQso& q) {
  return Number(q.khz) + " " + std::string(kModeGroups[q.group].modes[q.code].code) + " " +
         MinuteText(q.minute) + " " + HtmlEscape(logs.texts.Text(q.sent)) + " " +
         HtmlEscape(logs.texts.Text(q.call)) + " " + HtmlEscape(logs.texts.Text(q.rcvd));
}

// The station's lines that lose points or may (UNCHECKED ones are kept and
// only counted here: they are the bulk of a large contest's lists and are
// named in the station's .ubn.txt), and the lines that could not be read.
std::string UbnSection(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                       const StationResult& r, const CheckSettings& settings) {
  const Station& station = logs.stations[static_cast<std::size_t>(r.station)];
  std::string html = "<section class=\"ubn\" id=\"" + Anchor(station.call) + "\"><h3>" +
                     HtmlEscape(station.call) + "</h3><p>Place " + Number(r.place) + ": checked " +
                     Number(r.checked.TotalQsos()) + " QSOs, score " +
                     Number(r.checked.TotalScore()) + "; claimed " + Number(r.claimed.TotalQsos()) +
                     " QSOs, score " + Number(r.claimed.TotalScore()) + ".";
  const int unchecked = r.counts[static_cast<std::size_t>(Verdict::kUnchecked)];
  if (unchecked > 0) {
    html += " " + Number(unchecked) + " UNCHECKED QSOs (calls that sent no log but are in other " +
            "logs) are kept; " + HtmlEscape(UbnFileName(station)) + " lists them.";
  }
  html += " <a href=\"#results\">Back to the results</a></p>";
  std::string rows;
  for (int i = station.firstQso; i < station.firstQso + station.qsoCount; ++i) {
    const LineVerdict& v = verdicts[static_cast<std::size_t>(i)];
    if (v.verdict == Verdict::kOk || v.verdict == Verdict::kUnchecked) {
      continue;
    }
    const LoggedQso& q = logs.qsos[static_cast<std::size_t>(i)];
    rows += "<tr><td>" + std::string(VerdictWord(v.verdict)) + "</td><td>" +
            HtmlEscape(station.files[q.file]) + ":" + Number(q.line) + "</td><td>" +
            QsoCells(logs, q) + "</td><td>" +
            HtmlEscape(VerdictDetail(logs, verdicts, i, settings)) + "</td></tr>\n";
  }
  for (const UnreadLine& u : station.unread) {
    rows += "<tr><td>not read</td><td>" +
            HtmlEscape(station.files[static_cast<std::size_t>(u.file)]) + ":" + Number(u.line) +
            "</td><td></td><td>" + HtmlEscape(u.reason) + "</td></tr>\n";
  }
  if (rows.empty()) {
    return html + "</section>\n";
  }
  return html +
         "<div class=\"wrap\"><table class=\"u\"><tr><th>Verdict</th><th>Line</th>"
         "<th>QSO: kHz, mode, time, sent, call, received</th><th>Evidence</th></tr>\n" +
         rows + "</table></div></section>\n";
}

}  // namespace

std::string HtmlEscape(const std::string& raw) {
  // A page declared UTF-8 gets UTF-8, whatever bytes a log held.
  const std::string text = ShownText(raw, raw.size());
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ResultsPage(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        const std::vector<StationResult>& ranked, const CheckSettings& settings) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
      "<title>KOVA Brawlcup Digital Prefix Contest: checked results</title><style>";
  html += kStyle;
  html += "</style></head><body>\n<h1>KOVA Brawlcup Digital Prefix Contest</h1>\n";
  html += "<p class=\"sub\">Checked results: " + Number(static_cast<std::int64_t>(ranked.size())) +
          " stations, " + Number(static_cast<std::int64_t>(logs.qsos.size())) + " QSO lines";
  if (!logs.qsos.empty()) {
    html += " from " + MinuteText(logs.firstMinute) + " to " + MinuteText(logs.lastMinute);
  }
  html += "; time window " + Number(settings.windowMinutes) + " minutes; unique calls " +
          (settings.removeUniques ? "removed" : "kept") + ".</p>\n";
  html += "<h2>QSO rate</h2>\n" + RateChart(logs, verdicts, settings) + "\n";
  html += "<h2>Verdicts</h2>\n" + VerdictTotals(verdicts) + "\n";
  html +=
      "<h2 id=\"results\">Results</h2>\n<p>Ranked by checked score; each call leads to its "
      "UBN list.</p>" +
      GroupLegend() + RankedTable(logs, ranked) + "\n";
  html += "<h2>UBN lists</h2>\n";
  for (const StationResult& r : ranked) {
    html += UbnSection(logs, verdicts, r, settings);
  }
  html += "</body></html>\n";
  return html;
}
