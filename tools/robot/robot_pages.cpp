#include "robot_pages.h"

#include <algorithm>
#include <ctime>

#include "contest/mode_groups.h"
#include "platform/text.h"
#include "robot_limits.h"
#include "tools/check/results_page.h"

namespace {

constexpr char kContest[] = "KOVA Brawlcup Digital Prefix Contest";

std::string E(const std::string& text) { return HtmlEscape(text); }

std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>" +
         E(title) + " - " + kContest +
         "</title><link rel=\"stylesheet\" href=\"/style.css\"></head><body>\n"
         "<header><span class=\"c\">" +
         kContest +
         "</span><nav><a href=\"/\">Upload</a> <a href=\"/received\">Logs received</a> "
         "<a href=\"/results/\">Results</a> <a href=\"/admin\">Sponsor</a></nav></header>\n"
         "<main>\n<h1>" +
         E(title) + "</h1>\n" + body + "</main></body></html>\n";
}

std::string Hidden(const std::string& name, const std::string& value) {
  return "<input type=\"hidden\" name=\"" + name + "\" value=\"" + E(value) + "\">";
}

std::string ScoreTableHtml(const tools::ScoreTable& t) {
  std::string head = "<tr><th></th>";
  std::string rows[3] = {"<tr><th>QSO</th>", "<tr><th>PFX</th>", "<tr><th>Score</th>"};
  for (std::size_t g = 0; g < kModeGroups.size(); ++g) {
    head += "<th>" + E(std::string(kModeGroups[g].heading)) + "</th>";
    rows[0] += "<td>" + std::to_string(t.qsos[g]) + "</td>";
    rows[1] += "<td>" + std::to_string(t.prefixes[g]) + "</td>";
    rows[2] += "<td>" + std::to_string(t.scores[g]) + "</td>";
  }
  return "<div class=\"wrap\"><table class=\"n\">" + head + "</tr>" + rows[0] + "</tr>" +
         rows[1] + "</tr>" + rows[2] + "</tr></table></div>";
}

std::string FilesHtml(const std::vector<StoredFile>& files, const std::string& downloadBase) {
  std::string html =
      "<div class=\"wrap\"><table><tr><th class=\"l\">file</th><th>bytes</th>"
      "<th class=\"l\">SHA-256</th></tr>";
  for (std::size_t i = 0; i < files.size(); ++i) {
    const StoredFile& f = files[i];
    std::string name = E(f.name);
    if (!downloadBase.empty()) {
      name = "<a href=\"" + E(downloadBase + std::to_string(i)) + "\">" + name + "</a>";
    }
    html += "<tr><td class=\"l\">" + name + "</td><td>" + std::to_string(f.size) +
            "</td><td class=\"l h\">" + E(f.sha256) + "</td></tr>";
  }
  return html + "</table></div>";
}

std::string Category(const UploadRecord& u) {
  return E(u.power) + (u.club.empty() ? "" : ", " + E(u.club));
}

std::string ProblemList(const std::vector<std::string>& problems) {
  std::string html = "<ol class=\"problems\">";
  for (const std::string& p : problems) {
    html += "<li>" + E(p) + "</li>";
  }
  return html + "</ol>";
}

}  // namespace

std::string UtcText(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &tm);
  return text;
}

std::string StyleSheet() {
  return "body{font-family:sans-serif;margin:0;color:#222;line-height:1.4}"
         "header{background:#0b3d66;color:#fff;padding:.5em 1em;display:flex;flex-wrap:wrap;"
         "gap:.3em 1.5em;align-items:baseline}header .c{font-weight:bold}"
         "header a{color:#fff;margin-right:1em}main{max-width:60em;margin:0 auto;padding:0 1em 2em}"
         "h1{font-size:1.5em}"
         "form.up{display:grid;grid-template-columns:max-content minmax(0,24em);gap:.6em 1em;"
         "align-items:center;margin:1em 0}"
         "form.up input,form.up select{font:inherit;padding:.35em;width:100%;box-sizing:border-box}"
         "form.up button{grid-column:2}"
         "button{font:inherit;padding:.45em 1.4em;background:#0b3d66;color:#fff;border:0;"
         "border-radius:3px;cursor:pointer}"
         ".receipt{font:bold 1.6em monospace;background:#e8f5e9;padding:.2em .5em;"
         "border:2px solid #2e7d32;display:inline-block;letter-spacing:.05em}"
         ".refused{background:#fdecea;border-left:4px solid #c62828;padding:.5em 1em}"
         "ol.problems li{margin:.2em 0;overflow-wrap:anywhere}"
         "table{border-collapse:collapse;font-variant-numeric:tabular-nums;margin:.5em 0}"
         "th,td{padding:.25em .5em;border-bottom:1px solid #ddd;text-align:right}"
         "th{background:#f3f3f3}.l,td.l,th.l{text-align:left}"
         "pre{white-space:pre-wrap;overflow-wrap:anywhere}td.h{font-family:monospace;font-size:.8em;overflow-wrap:anywhere;white-space:normal}"
         ".wrap{overflow-x:auto}.note{color:#555;font-size:.9em}a{color:#0050a0}"
         "@media (max-width:600px){form.up{grid-template-columns:1fr}form.up button{grid-column:1}"
         "main{padding:0 .6em 2em}th,td{padding:.2em .3em}.m{display:none}"
         "table.n{font-size:.8em}table.n th,table.n td{padding:.2em .2em}}"
         "code{white-space:nowrap}";
}

std::string UploadPage(const ContestTexts& contest, const std::string& token) {
  std::string body =
      "<p>Send the files your logging program's report run wrote: the per-mode logs "
      "(<code>RTTY.log</code>, <code>PSK .log</code> ...) and the summary sheet "
      "<code>CALL.sum</code>, or one zip of them. They are checked at once: you get a receipt, "
      "or every problem listed. Uploading again replaces your earlier log.</p>\n"
      "<p>Contest period: " +
      E(contest.period) + " (UTC)." +
      (contest.deadline.empty() ? std::string()
                                : " Logs are taken until " + E(contest.deadline) + " UTC.") +
      "</p>\n";
  if (contest.closed) {
    return Page("Upload your log",
                body + "<p class=\"refused\">The deadline has passed: no more logs are taken.</p>");
  }
  body +=
      "<form class=\"up\" method=\"post\" action=\"/upload\" enctype=\"multipart/form-data\">" +
      Hidden("csrf", token) +
      "<label for=\"call\">Call</label><input id=\"call\" name=\"call\" required maxlength=\"20\" "
      "autocapitalize=\"characters\" autocomplete=\"off\" spellcheck=\"false\">"
      "<label for=\"email\">E-mail</label><input id=\"email\" name=\"email\" type=\"email\" "
      "required maxlength=\"" +
      std::to_string(kMaxEmailChars) +
      "\">"
      "<label for=\"power\">Power</label><select id=\"power\" name=\"power\">"
      "<option>HIGH</option><option selected>LOW</option><option>QRP</option></select>"
      "<label for=\"club\">Club</label><input id=\"club\" name=\"club\" maxlength=\"" +
      std::to_string(kMaxClubChars) +
      "\" placeholder=\"optional\">"
      "<label for=\"files\">Files</label><input id=\"files\" name=\"files\" type=\"file\" "
      "multiple required accept=\".log,.sum,.zip\">"
      "<button type=\"submit\">Upload</button></form>\n"
      "<p class=\"note\">At most " +
      std::to_string(kMaxUploadFiles) + " files, " + std::to_string(kMaxFileLines) +
      " lines each, " + std::to_string(kMaxRequestBytes >> 20) +
      " MiB in all. Your e-mail address is shown to nobody but the sponsor.</p>\n";
  return Page("Upload your log", body);
}

std::string ReceiptPage(const UploadRecord& u, std::optional<std::int64_t> replaced) {
  std::string body =
      "<p>Your receipt: <span class=\"receipt\" id=\"receipt\">" + E(u.receipt) +
      "</span></p>\n<p>Keep it: it shows that the log below arrived whole.</p>\n"
      "<table class=\"kv\"><tr><th class=\"l\">Call</th><td class=\"l\">" +
      E(u.call) + "</td></tr><tr><th class=\"l\">Category</th><td class=\"l\">" + Category(u) +
      "</td></tr><tr><th class=\"l\">Received</th><td class=\"l\">" + E(UtcText(u.received)) +
      "</td></tr><tr><th class=\"l\">QSO lines</th><td class=\"l\">" + std::to_string(u.qsos) +
      "</td></tr><tr><th class=\"l\">Claimed score</th><td class=\"l\" id=\"score\">" +
      std::to_string(u.claimed.TotalScore()) + "</td></tr></table>\n";
  if (replaced) {
    body += "<p>This log replaces the one you sent on " + E(UtcText(*replaced)) +
            "; the sponsor keeps both, the newer counts.</p>\n";
  }
  body += "<h2>Claimed score per mode group</h2>\n<p class=\"note\">As the contest's scoring "
          "plug-in counts your log, before the cross-check with the other stations' logs.</p>" +
          ScoreTableHtml(u.claimed) + "\n<h2>Files</h2>\n" + FilesHtml(u.files, "");
  return Page("Log received", body);
}

std::string RefusalPage(const std::string& call, const std::vector<std::string>& problems) {
  return Page("Log not accepted",
              "<div class=\"refused\"><p>The upload" +
                  (call.empty() ? std::string() : " for " + E(call)) +
                  " was refused and nothing of it was counted. Put right what is listed here "
                  "and send it again:</p>" +
                  ProblemList(problems) + "</div>\n<p><a href=\"/\">Back to the upload form</a></p>\n");
}

std::string ReceivedPage(const std::vector<UploadRecord>& latest, const ContestTexts& contest) {
  std::string body = "<p>" + std::to_string(latest.size()) +
                     " stations have sent their log" +
                     (contest.deadline.empty() ? "" : " (deadline " + E(contest.deadline) + " UTC)") +
                     ".</p>\n<div class=\"wrap\"><table><tr><th class=\"l\">Call</th>"
                     "<th class=\"l\">Category</th><th class=\"l\">Club</th>"
                     "<th class=\"l\">Received</th></tr>";
  for (const UploadRecord& u : latest) {
    body += "<tr><td class=\"l\">" + E(u.call) + "</td><td class=\"l\">" + E(u.power) +
            "</td><td class=\"l\">" + E(u.club) + "</td><td class=\"l\">" + E(UtcText(u.received)) +
            "</td></tr>";
  }
  return Page("Logs received", body + "</table></div>\n");
}

std::string MessagePage(const std::string& title, const std::string& text) {
  return Page(title, "<p>" + E(text) + "</p>\n");
}

std::string LoginPage(const std::string& token, const std::string& message, bool passwordSet) {
  std::string body = message.empty() ? "" : "<p class=\"refused\">" + E(message) + "</p>\n";
  if (!passwordSet) {
    return Page("Sponsor's login",
                body + "<p>No password is set. On the robot's machine run "
                       "<code>stats-robot --data DIR set-password</code>.</p>\n");
  }
  body += "<form class=\"up\" method=\"post\" action=\"/admin/login\">" + Hidden("csrf", token) +
          "<label for=\"password\">Password</label><input id=\"password\" name=\"password\" "
          "type=\"password\" required autocomplete=\"current-password\">"
          "<button type=\"submit\">Log in</button></form>\n";
  return Page("Sponsor's login", body);
}

std::string AdminPage(const std::vector<StationLine>& stations,
                      const std::vector<RefusalRecord>& refusals, const std::string& token,
                      const std::string& publishReport) {
  std::string body =
      "<form method=\"post\" action=\"/admin/publish\">" + Hidden("csrf", token) +
      "<button type=\"submit\">Check and publish</button> <span class=\"note\">runs the "
      "cross-check over every station's latest log and publishes the results at "
      "<a href=\"/results/\">/results/</a></span></form>\n";
  if (!publishReport.empty()) {
    body += "<pre class=\"note\">";
    std::size_t at = 0;
    while (at < publishReport.size()) {
      const std::size_t end = std::min(publishReport.find('\n', at), publishReport.size());
      body += E(publishReport.substr(at, end - at)) + "\n";
      at = end + 1;
    }
    body += "</pre>\n";
  }
  body += "<h2>Stations (" + std::to_string(stations.size()) +
          ")</h2>\n<div class=\"wrap\"><table><tr><th class=\"l\">Call</th>"
          "<th class=\"l\">Category</th><th class=\"l m\">E-mail</th><th>QSO lines</th>"
          "<th>Claimed</th><th>Uploads</th><th>Refused</th><th class=\"l\">Latest</th></tr>";
  for (const StationLine& s : stations) {
    const UploadRecord& u = s.latest;
    body += "<tr><td class=\"l\"><a href=\"/admin/station?call=" + E(u.call) + "\">" + E(u.call) +
            "</a></td><td class=\"l\">" + Category(u) + "</td><td class=\"l m\">" + E(u.email) +
            "</td><td>" + std::to_string(u.qsos) + "</td><td>" +
            std::to_string(u.claimed.TotalScore()) + "</td><td>" + std::to_string(s.uploads) +
            "</td><td>" + std::to_string(s.refusals) + "</td><td class=\"l\">" +
            E(UtcText(u.received)) + "</td></tr>";
  }
  body += "</table></div>\n<h2>Refused attempts (latest " + std::to_string(refusals.size()) +
          ")</h2>\n";
  for (const RefusalRecord& r : refusals) {
    body += "<details><summary>" + E(UtcText(r.received)) + " " + E(r.call) + " from " +
            E(r.address) + ": " + std::to_string(r.problems.size()) + " problems</summary>" +
            ProblemList(r.problems) + "</details>\n";
  }
  body += "<form method=\"post\" action=\"/admin/logout\">" + Hidden("csrf", token) +
          "<p><button type=\"submit\">Log out</button></p></form>\n";
  return Page("Back office", body);
}

std::string AdminStationPage(const std::string& call, const std::vector<UploadRecord>& history,
                             const std::vector<RefusalRecord>& refusals) {
  std::string body = "<p><a href=\"/admin\">All stations</a></p>\n";
  for (std::size_t i = 0; i < history.size(); ++i) {
    const UploadRecord& u = history[i];
    body += "<h2>" + std::string(i == 0 ? "Latest upload" : "Replaced upload") + ", " +
            E(UtcText(u.received)) + "</h2>\n<p>Receipt <code>" + E(u.receipt) + "</code>, " +
            Category(u) + ", " + E(u.email) + ", from " + E(u.address) + ", " +
            std::to_string(u.qsos) + " QSO lines, claimed score " +
            std::to_string(u.claimed.TotalScore()) + "</p>\n" + ScoreTableHtml(u.claimed) +
            FilesHtml(u.files, "/admin/file?upload=" + std::to_string(u.id) + "&file=");
  }
  body += "<h2>Refused attempts (" + std::to_string(refusals.size()) + ")</h2>\n";
  for (const RefusalRecord& r : refusals) {
    body += "<p>" + E(UtcText(r.received)) + " from " + E(r.address) + ":</p>" +
            ProblemList(r.problems);
  }
  return Page("Station " + call, body);
}
