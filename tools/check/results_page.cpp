#include "tools/check/results_page.h"

#include <algorithm>
#include <array>
#include <map>

#include "contest/mode_groups.h"
#include "platform/text.h"
#include "tools/check/shown_text.h"

namespace {

// One colour per score column, told apart also by readers with the common
// colour-vision deficiencies (Okabe and Ito's palette).
constexpr std::array<const char*, kModeGroupCount> kGroupColours = {
    "#0072B2", "#E69F00", "#009E73", "#CC79A7", "#56B4E9", "#D55E00", "#F0E442"};
static_assert(
    [] {
      for (const char* colour : kGroupColours) {
        if (colour == nullptr) {
          return false;
        }
      }
      return true;
    }(),
    "kGroupColours: one colour per mode group");
constexpr char kOkColour[] = "#009E73";
constexpr char kFaultColour[] = "#D55E00";

constexpr char kStyle[] =
    "body{font-family:sans-serif;margin:1.5em auto;max-width:76em;padding:0 1em;color:#222}"
    "h1{margin-bottom:.2em}p.sub{color:#555;margin-top:0}"
    "table{border-collapse:collapse;font-size:.85em;font-variant-numeric:tabular-nums}"
    "th,td{padding:.2em .45em;border-bottom:1px solid #ddd;white-space:nowrap}"
    "th{background:#f3f3f3;text-align:right;white-space:normal;vertical-align:bottom}"
    "td{text-align:right}"
    "td.l,th.l,table.u td,table.u th{text-align:left}"
    "table.u td,td.w{white-space:normal}"
    "a{color:#0050a0}svg text{font-family:sans-serif;font-size:11px;fill:#333}"
    ".wrap{overflow-x:auto}.wrap svg{max-width:100%;height:auto}"
    "i.b{display:inline-block;height:.7em;background:#0072B2}"
    "dl.v dt{font-weight:bold;float:left;width:9em;clear:left}dl.v dd{margin-left:9.5em}"
    ".note{color:#8a3b00}"
    "@media (max-width:600px){body{padding:0 .3em}.m{display:none}"
    "th,td{padding:.2em .3em}dl.v dt{float:none}dl.v dd{margin-left:1em}}";

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

// The words of the verdicts that keep their line's points (or that lose
// them), by what they do to the score; the one the sponsor may remove last.
std::string WordsByEffect(bool kept, const CheckSettings& settings) {
  std::string words;
  for (VerdictEffect e : {VerdictEffect::kCounts, VerdictEffect::kKept, VerdictEffect::kRemoved,
                          VerdictEffect::kNoPoints, VerdictEffect::kKeptUnlessPurged}) {
    for (const VerdictClass& v : kVerdicts) {
      if (v.effect == e && KeptForScore(v.verdict, settings) == kept) {
        words += words.empty() ? "" : ", ";
        words += v.word;
      }
    }
  }
  return words;
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
  // Room on the right for a date label under the last bars.
  const double width = left + barWidth * bars + 70;
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
    svg += "<line x1=\"" + Fixed(left) + "\" x2=\"" + Fixed(left + barWidth * bars) + "\" y1=\"" +
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
  const std::string legend = "<p>" + Swatch(kOkColour) + " kept (" +
                             WordsByEffect(true, settings) + ") &nbsp; " + Swatch(kFaultColour) +
                             " removed or no points (" + WordsByEffect(false, settings) + ")</p>";
  return "<div class=\"wrap\">" + svg + "</div>" + legend;
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

std::string PageHead(const std::string& title) {
  return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>" +
         HtmlEscape(title) + "</title><style>" + kStyle + "</style></head><body>\n";
}

const Station& StationOf(const ContestLogs& logs, const StationResult& r) {
  return logs.stations[static_cast<std::size_t>(r.station)];
}

// A station's call, linked to its page when the pages are published.
std::string CallLink(const Station& station, bool linked, const std::string& folder) {
  if (!linked) {
    return HtmlEscape(station.call);
  }
  return "<a href=\"" + HtmlEscape(folder + StationPageFileName(station)) + "\">" +
         HtmlEscape(station.call) + "</a>";
}

int RemovedOrNoPoints(const StationResult& r, const CheckSettings& settings) {
  int n = 0;
  for (int v = 0; v < kVerdictCount; ++v) {
    if (!KeptForScore(static_cast<Verdict>(v), settings)) {
      n += r.counts[static_cast<std::size_t>(v)];
    }
  }
  return n;
}

// Short words for the notes column; the station page says them in full.
std::string Notes(const StationResult& r) {
  std::string notes;
  auto add = [&](const std::string& note) { notes += (notes.empty() ? "" : ", ") + note; };
  if (!r.claimFault.empty()) {
    add("claim cannot be true");
  } else if (!r.claimedFromSheet) {
    add("no sheet");
  }
  if (CreditedFarAboveClaim(r)) {
    add("checked far above claim");
  }
  if (r.clockMinutes) {
    add(FormatText("clock %+d min", *r.clockMinutes));
  }
  return notes;
}

std::string ClaimedCell(const StationResult& r) {
  return r.claimFault.empty() ? Number(r.claimed.TotalScore()) + (r.claimedFromSheet ? "" : "*")
                              : std::string("-");
}

// Overall ranking: what a reader on a phone needs (place, call, category,
// checked score) and, on a wider screen, the rest in columns of class "m".
std::string RankedTable(const ContestLogs& logs, const std::vector<StationResult>& ranked,
                        const CheckSettings& settings, bool stationPages) {
  const std::int64_t leader = ranked.empty() ? 0 : ranked.front().checked.TotalScore();
  std::string html =
      "<div class=\"wrap\"><table><tr><th>Place</th><th class=\"l\">Call</th>"
      "<th class=\"l\">Category (place)</th><th class=\"l m\">Club</th>"
      "<th class=\"m\">Claimed score</th><th class=\"m\">Checked QSOs</th>"
      "<th>Checked score</th><th class=\"m\">Change</th><th class=\"l m\">Against the leader</th>"
      "<th class=\"m\">Removed or no points</th><th class=\"l m\">Notes</th></tr>\n";
  html.reserve(ranked.size() * 260);
  for (const StationResult& r : ranked) {
    const Station& station = StationOf(logs, r);
    const std::int64_t score = r.checked.TotalScore();
    const int share =
        leader > 0 && score > 0
            ? static_cast<int>(100 * static_cast<double>(score) / static_cast<double>(leader) + 0.5)
            : 0;
    html += "<tr><td>" + Number(r.place) + "</td><td class=\"l\">" +
            CallLink(station, stationPages, "stations/") + "</td><td class=\"l\">" +
            HtmlEscape(CategoryOf(station)) + " " + Number(r.categoryPlace) +
            "</td><td class=\"l m\">" + HtmlEscape(station.club) + "</td><td class=\"m\">" +
            ClaimedCell(r) + "</td><td class=\"m\">" + Number(r.checked.TotalQsos()) +
            "</td><td><b>" + Number(score) + "</b></td><td class=\"m\">" + ScoreChange(r) +
            "</td><td class=\"l m\"><i class=\"b\" style=\"width:" + Number(share) +
            "px\"></i></td><td class=\"m\">" + Number(RemovedOrNoPoints(r, settings)) +
            "</td><td class=\"l m\">" + Notes(r) + "</td></tr>\n";
  }
  html += "</table></div>";
  return html;
}

// Each power category: its stations and its first three.
std::string CategoryTable(const ContestLogs& logs, const std::vector<StationResult>& ranked) {
  std::map<std::string, std::vector<const StationResult*>> byCategory;
  for (const StationResult& r : ranked) {
    byCategory[CategoryOf(StationOf(logs, r))].push_back(&r);
  }
  std::string html =
      "<table><tr><th class=\"l\">Power category</th><th>Stations</th>"
      "<th class=\"l\">First three (checked score)</th></tr>";
  for (const auto& [category, members] : byCategory) {
    std::string first;
    for (std::size_t i = 0; i < members.size() && i < 3; ++i) {
      first += (i == 0 ? "" : ", ") + HtmlEscape(StationOf(logs, *members[i]).call) + " " +
               Number(members[i]->checked.TotalScore());
    }
    html += "<tr><td class=\"l\">" + HtmlEscape(category) + "</td><td>" +
            Number(static_cast<std::int64_t>(members.size())) + "</td><td class=\"l\">" + first +
            "</td></tr>";
  }
  return html + "</table>";
}

// Each club: its members' checked scores added up, the members named.
std::string ClubTable(const ContestLogs& logs, const std::vector<StationResult>& ranked) {
  struct Club {
    std::string name;
    std::int64_t total = 0;
    std::vector<std::string> members;
  };
  std::map<std::string, Club> clubs;
  for (const StationResult& r : ranked) {
    const Station& station = StationOf(logs, r);
    if (station.club.empty()) {
      continue;
    }
    Club& club = clubs[ToUpperAscii(station.club)];
    if (club.name.empty()) {
      club.name = station.club;
    }
    club.total += r.checked.TotalScore();
    club.members.push_back(station.call);
  }
  if (clubs.empty()) {
    return "<p>No summary sheet names a club.</p>";
  }
  std::vector<const Club*> order;
  for (const auto& entry : clubs) {
    order.push_back(&entry.second);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Club* a, const Club* b) { return a->total > b->total; });
  std::string html =
      "<table><tr><th class=\"l\">Club</th><th>Checked score</th><th class=\"l\">Members</th></tr>";
  for (const Club* club : order) {
    std::string members;
    for (const std::string& call : club->members) {
      members += (members.empty() ? "" : ", ") + HtmlEscape(call);
    }
    html += "<tr><td class=\"l\">" + HtmlEscape(club->name) + "</td><td>" + Number(club->total) +
            "</td><td class=\"l w\">" + Number(static_cast<std::int64_t>(club->members.size())) +
            ": " + members + "</td></tr>";
  }
  return html + "</table>";
}

// The folders not used and why, a few files of each.
std::string UnusedList(const ContestLogs& logs) {
  constexpr std::size_t kShown = 10;
  if (logs.unused.empty()) {
    return "<p>Every folder given was used.</p>";
  }
  std::string html = "<ul>";
  for (const UnusedFolder& u : logs.unused) {
    html += "<li>" + HtmlEscape(u.folder) + ": " + HtmlEscape(u.reason);
    if (!u.messages.empty()) {
      html += "<ul>";
      for (std::size_t i = 0; i < u.messages.size() && i < kShown; ++i) {
        html += "<li>" + HtmlEscape(u.messages[i]) + "</li>";
      }
      if (u.messages.size() > kShown) {
        html += "<li>" + Number(static_cast<std::int64_t>(u.messages.size() - kShown)) +
                " more in not-used.txt</li>";
      }
      html += "</ul>";
    }
    html += "</li>";
  }
  return html + "</ul>";
}

// What a verdict does to the score, in the words of the results page.
std::string EffectWords(VerdictEffect effect, const CheckSettings& settings) {
  switch (effect) {
    case VerdictEffect::kCounts:
      return "it counts";
    case VerdictEffect::kKept:
      return "kept";
    case VerdictEffect::kKeptUnlessPurged:
      return settings.removeUniques ? "removed (the sponsor chose so)" : "kept, and flagged";
    case VerdictEffect::kRemoved:
      return "removed";
    case VerdictEffect::kNoPoints:
      return "no points";
  }
  return "";
}

std::string VerdictWords(const CheckSettings& settings) {
  std::string html = "<dl class=\"v\">";
  for (const VerdictClass& v : kVerdicts) {
    html += "<dt>" + std::string(v.word) + "</dt><dd>" + std::string(v.meaning) + "; " +
            EffectWords(v.effect, settings) + ".</dd>";
  }
  return html +
         "<dt>UBN</dt><dd>each station's list of its QSOs that are Unique, Busted or "
         "Not-in-log, with the evidence: the station's page and its .ubn.txt.</dd></dl>";
}

// The station's lines that are not OK, the other station's call linked: the
// lines that lose points first, then the UNCHECKED ones it keeps.
std::string VerdictRows(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        const Station& station, const CheckSettings& settings) {
  std::string rows;
  for (const bool kept : {false, true}) {
    for (int i = station.firstQso; i < station.firstQso + station.qsoCount; ++i) {
      const LineVerdict& v = verdicts[static_cast<std::size_t>(i)];
      const VerdictEffect effect = ClassOf(v.verdict).effect;
      if (effect == VerdictEffect::kCounts || (effect == VerdictEffect::kKept) != kept) {
        continue;
      }
      const LoggedQso& q = logs.qsos[static_cast<std::size_t>(i)];
      std::string detail = HtmlEscape(VerdictDetail(logs, verdicts, i, settings));
      const int other = v.other >= 0 ? logs.qsos[static_cast<std::size_t>(v.other)].station
                                     : logs.StationOfCall(q.call);
      if (other >= 0 && other != q.station) {
        const Station& o = logs.stations[static_cast<std::size_t>(other)];
        const std::string call = HtmlEscape(o.call);
        const std::size_t at = detail.find(call);
        if (at != std::string::npos) {
          detail.replace(at, call.size(), CallLink(o, true, ""));
        }
      }
      rows += "<tr><td>" + std::string(VerdictWord(v.verdict)) + "</td><td>" +
              HtmlEscape(station.files[q.file]) + ":" + Number(q.line) + "</td><td>" +
              QsoCells(logs, q) + "</td><td>" + detail + "</td></tr>\n";
    }
  }
  for (const UnreadLine& u : station.unread) {
    rows += "<tr><td>not read</td><td>" +
            HtmlEscape(station.files[static_cast<std::size_t>(u.file)]) + ":" + Number(u.line) +
            "</td><td></td><td>" + HtmlEscape(u.reason) + "</td></tr>\n";
  }
  if (station.unreadMore > 0) {
    rows += "<tr><td>not read</td><td></td><td></td><td>" +
            Number(static_cast<std::int64_t>(station.unreadMore)) + " more lines</td></tr>\n";
  }
  return rows;
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

std::string StationPageFileName(const Station& station) { return station.fileWord + ".html"; }

std::string StationPagePath(const Station& station) {
  return "stations/" + StationPageFileName(station);
}

std::string ResultsPage(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        const std::vector<StationResult>& ranked, const CheckSettings& settings,
                        bool stationPages) {
  std::string html = PageHead("KOVA Brawlcup Digital Prefix Contest: checked results");
  html += "<h1>KOVA Brawlcup Digital Prefix Contest</h1>\n";
  html += "<p class=\"sub\">Checked results: " + Number(static_cast<std::int64_t>(ranked.size())) +
          " stations, " + Number(static_cast<std::int64_t>(logs.qsos.size())) + " QSO lines";
  if (!logs.qsos.empty()) {
    html += " from " + MinuteText(logs.firstMinute) + " to " + MinuteText(logs.lastMinute);
  }
  html += ".</p>\n<h2>What was checked</h2>\n<ul><li>Contest period: " +
          HtmlEscape(PeriodText(settings)) + "; lines outside it are not read.</li>";
  html += "<li>Time window " + Number(settings.windowMinutes) +
          " minutes between the two halves of a QSO; unique calls " +
          (settings.removeUniques ? "removed" : "kept") + ".</li>";
  html += "<li>Logs received: " + Number(static_cast<std::int64_t>(logs.stations.size())) +
          " stations (<a href=\"logs.html\">each with its category, club, files and lines</a>); "
          "folders not used: " +
          Number(static_cast<std::int64_t>(logs.unused.size())) + ".</li>";
  html += std::string("<li>") +
          (stationPages ? "Each call leads to its station's page: its UBN list with the "
                          "evidence, its notes, and its .ubn.txt."
                        : "Each station's UBN list is sent to it privately.") +
          "</li></ul>\n";
  html +=
      "<h2 id=\"results\">Results</h2>\n<p>Ranked by checked score; the category place counts "
      "the stations of the same power category (from the summary sheet: HIGH, LOW, QRP, else "
      "&ldquo;" +
      std::string(kOtherCategory) +
      "&rdquo;). Change: the checked score against the claimed one; * claimed score worked out "
      "from the logs (no summary sheet with a readable score table).</p>" +
      RankedTable(logs, ranked, settings, stationPages) + "\n";
  html += "<h2>Power categories</h2>\n" + CategoryTable(logs, ranked) + "\n";
  html += "<h2>Clubs</h2>\n" + ClubTable(logs, ranked) + "\n";
  html += "<h2>Verdicts</h2>\n" + VerdictWords(settings) + VerdictTotals(verdicts) + "\n";
  html += "<h2>QSO rate</h2>\n" + RateChart(logs, verdicts, settings) + "\n";
  html += "<h2>Folders not used</h2>\n" + UnusedList(logs) + "\n";
  html += "</body></html>\n";
  return html;
}

std::string LogsPage(const ContestLogs& logs, const std::vector<StationResult>& ranked,
                     bool stationPages) {
  std::vector<const StationResult*> byStation(logs.stations.size(), nullptr);
  for (const StationResult& r : ranked) {
    byStation[static_cast<std::size_t>(r.station)] = &r;
  }
  std::string html = PageHead("KOVA Brawlcup Digital Prefix Contest: logs received");
  html +=
      "<h1>Logs received</h1>\n<p><a href=\"index.html\">Back to the results</a></p>"
      "<div class=\"wrap\"><table class=\"u\"><tr><th>Call</th><th>Category</th><th>Club</th>"
      "<th>Files</th><th>QSO lines</th><th>Not used</th></tr>\n";
  for (const Station& station : logs.stations) {
    std::string files;
    for (const std::string& file : station.files) {
      files += (files.empty() ? "" : ", ") + HtmlEscape(file);
    }
    if (!station.sheetFile.empty()) {
      files += (files.empty() ? "" : ", ") + HtmlEscape(station.sheetFile);
    }
    std::string notUsed;
    for (std::size_t i = 0; i < station.messages.size() && i < 3; ++i) {
      notUsed += (i == 0 ? "" : "<br>") + HtmlEscape(station.messages[i]);
    }
    if (station.messages.size() > 3) {
      notUsed += "<br>" + Number(static_cast<std::int64_t>(station.messages.size() - 3)) +
                 " more in " + HtmlEscape(UbnFileName(station));
    }
    html += "<tr><td>" + CallLink(station, stationPages, "stations/") + "</td><td>" +
            HtmlEscape(station.category.empty() ? std::string("(none)") : station.category) +
            "</td><td>" + HtmlEscape(station.club) + "</td><td>" + files + "</td><td>" +
            Number(static_cast<std::int64_t>(station.lines)) + "</td><td>" + notUsed +
            "</td></tr>\n";
  }
  html += "</table></div>\n<h2>Folders not used</h2>\n" + UnusedList(logs) + "</body></html>\n";
  return html;
}

std::string StationPage(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        const StationResult& r, int stationCount, const CheckSettings& settings,
                        bool resultsBeside) {
  const Station& station = StationOf(logs, r);
  std::string html = PageHead(station.call + ": KOVA Brawlcup Digital Prefix Contest");
  html += "<h1>" + HtmlEscape(station.call) + "</h1>\n<p class=\"sub\">Place " + Number(r.place) +
          " of " + Number(stationCount) + ", " + Number(r.categoryPlace) + " " +
          HtmlEscape(CategoryLabel(CategoryOf(station))) +
          (station.club.empty() ? std::string() : "; club " + HtmlEscape(station.club)) +
          ".</p>\n<ul><li>Checked: " + Number(r.checked.TotalQsos()) + " QSOs, score <b>" +
          Number(r.checked.TotalScore()) + "</b></li><li>Claimed: ";
  if (!r.claimFault.empty()) {
    html += "the summary sheet's figures cannot be true (" + HtmlEscape(r.claimFault) + ")";
  } else {
    html += Number(r.claimed.TotalQsos()) + " QSOs, score " + Number(r.claimed.TotalScore()) +
            (r.claimedFromSheet ? " (summary sheet " + HtmlEscape(station.sheetFile) + ")"
                                : std::string(" (worked out from the logs)"));
    const std::string change = ScoreChange(r);
    if (!change.empty()) {
      html += "; checked " + change;
    }
  }
  html += "</li>";
  if (CreditedFarAboveClaim(r)) {
    html += "<li class=\"note\">The checked score is far above the claim; is every QSO real?</li>";
  }
  if (r.clockMinutes) {
    html += "<li class=\"note\">" + ClockHint(*r.clockMinutes) +
            " against its partners' (matching goes by the times as logged).</li>";
  }
  html += "<li>";
  for (Verdict v : kVerdictsByCountColumn) {
    html += (v == kVerdictsByCountColumn.front() ? "" : ", ") + std::string(VerdictWord(v)) + " " +
            Number(r.counts[static_cast<std::size_t>(v)]);
  }
  html += "</li><li>By mode group:";
  const char* between = " ";
  for (std::size_t g = 0; g < r.checked.scores.size(); ++g) {
    if (r.checked.qsos[g] > 0) {
      html += between + std::string(kModeGroups[g].heading) + " " + Number(r.checked.qsos[g]) +
              " QSOs &times; " + Number(r.checked.prefixes[g]) +
              " prefixes = " + Number(r.checked.scores[g]);
      between = "; ";
    }
  }
  html += "</li></ul>\n<p><a href=\"../" + HtmlEscape(UbnFileName(station)) +
          "\">The UBN list as text</a>";
  if (resultsBeside) {
    html += " &middot; <a href=\"../index.html#results\">Back to the results</a>";
  }
  html += "</p>\n";
  const std::string rows = VerdictRows(logs, verdicts, station, settings);
  if (!rows.empty()) {
    html +=
        "<div class=\"wrap\"><table class=\"u\"><tr><th>Verdict</th><th>Line</th>"
        "<th>QSO: kHz, mode, time, sent, call, received</th><th>Evidence</th></tr>\n" +
        rows + "</table></div>\n";
  } else {
    html += "<p>Every QSO line is OK.</p>\n";
  }
  if (!station.messages.empty()) {
    html += "<h2>Notes on its files</h2><ul>";
    for (const std::string& message : station.messages) {
      html += "<li>" + HtmlEscape(message) + "</li>";
    }
    html += "</ul>\n";
  }
  return html + "</body></html>\n";
}
