#include "cabrillo_reader.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

namespace {

// The tags of Cabrillo 3.0; any tag starting with "X-" is allowed as well.
const std::set<std::string> kKnownTags = {
    "START-OF-LOG",
    "END-OF-LOG",
    "ADDRESS",
    "ADDRESS-CITY",
    "ADDRESS-STATE-PROVINCE",
    "ADDRESS-POSTALCODE",
    "ADDRESS-COUNTRY",
    "CALLSIGN",
    "CATEGORY-ASSISTED",
    "CATEGORY-BAND",
    "CATEGORY-MODE",
    "CATEGORY-OPERATOR",
    "CATEGORY-OVERLAY",
    "CATEGORY-POWER",
    "CATEGORY-STATION",
    "CATEGORY-TIME",
    "CATEGORY-TRANSMITTER",
    "CERTIFICATE",
    "CLAIMED-SCORE",
    "CLUB",
    "CONTEST",
    "CREATED-BY",
    "EMAIL",
    "GRID-LOCATOR",
    "LOCATION",
    "NAME",
    "OFFTIME",
    "OPERATORS",
    "SOAPBOX",
    "QSO",
    "X-QSO",
};

// Tags that may stand on several lines.
const std::set<std::string> kRepeatable = {"ADDRESS", "SOAPBOX", "OPERATORS",
                                           "OFFTIME", "QSO",     "X-QSO"};

// Tags every log of this contest must carry.
const char* const kRequired[] = {
    "CALLSIGN",      "CONTEST",        "CATEGORY-OPERATOR", "CATEGORY-ASSISTED",    "CATEGORY-BAND",
    "CATEGORY-MODE", "CATEGORY-POWER", "CATEGORY-STATION",  "CATEGORY-TRANSMITTER", "CLAIMED-SCORE",
    "CREATED-BY",
};

const std::map<std::string, std::set<std::string>> kCategoryValues = {
    {"CATEGORY-OPERATOR", {"SINGLE-OP", "MULTI-OP", "CHECKLOG"}},
    {"CATEGORY-ASSISTED", {"ASSISTED", "NON-ASSISTED"}},
    {"CATEGORY-BAND",
     {"ALL", "160M", "80M", "40M",  "20M",  "15M",  "10M",   "6M",         "4M",
      "2M",  "222",  "432", "902",  "1.2G", "2.3G", "3.4G",  "5.7G",       "10G",
      "24G", "47G",  "75G", "122G", "134G", "241G", "LIGHT", "VHF-3-BAND", "VHF-FM-ONLY"}},
    {"CATEGORY-MODE", {"CW", "DIGI", "FM", "RTTY", "SSB", "MIXED"}},
    {"CATEGORY-POWER", {"HIGH", "LOW", "QRP"}},
    {"CATEGORY-STATION",
     {"DISTRIBUTED", "FIXED", "MOBILE", "PORTABLE", "ROVER", "ROVER-LIMITED", "ROVER-UNLIMITED",
      "EXPEDITION", "HQ", "SCHOOL"}},
    {"CATEGORY-TRANSMITTER", {"ONE", "TWO", "LIMITED", "UNLIMITED", "SWL"}},
};

const std::set<std::string> kBandDesignators = {"50",   "70",   "144",  "222",  "432",  "902",
                                                "1.2G", "2.3G", "3.4G", "5.7G", "10G",  "24G",
                                                "47G",  "75G",  "122G", "134G", "241G", "LIGHT"};
const std::set<std::string> kModes = {"CW", "PH", "FM", "RY", "DG"};

bool AllDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

bool IsCall(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return std::isupper(static_cast<unsigned char>(c)) ||
           std::isdigit(static_cast<unsigned char>(c)) || c == '/';
  });
}

bool IsDate(const std::string& s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-' || !AllDigits(s.substr(0, 4)) ||
      !AllDigits(s.substr(5, 2)) || !AllDigits(s.substr(8, 2))) {
    return false;
  }
  const int y = std::stoi(s.substr(0, 4));
  const int m = std::stoi(s.substr(5, 2));
  const int d = std::stoi(s.substr(8, 2));
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return y >= 1900 && m >= 1 && m <= 12 && d >= 1 && d <= (m == 2 && !leap ? 28 : kDays[m - 1]);
}

bool IsTime(const std::string& s) {
  return s.size() == 4 && AllDigits(s) && std::stoi(s.substr(0, 2)) < 24 &&
         std::stoi(s.substr(2, 2)) < 60;
}

// The QSO line as the Cabrillo 3.0 template lays it out for these values: each
// column padded to its width, a longer value written whole, one blank between.
std::string Template(const std::string& tag, const std::vector<std::string>& t) {
  static const int kWidths[] = {5, 2, 10, 4, 13, 3, 6, 13, 3, 0};
  std::string line = tag;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const std::size_t width = static_cast<std::size_t>(kWidths[i]);
    const std::size_t pad = t[i].size() < width ? width - t[i].size() : 0;
    line += ' ';
    if (i == 0) {
      line.append(pad, ' ');
    }
    line += t[i];
    if (i != 0 && i + 1 < t.size()) {
      line.append(pad, ' ');
    }
  }
  return line;
}

void ReadQso(const std::string& tag, const std::string& line, const std::string& where,
             CabrilloReadLog& log) {
  std::istringstream in(line.substr(tag.size() + 1));
  std::vector<std::string> t;
  for (std::string token; in >> token;) {
    t.push_back(token);
  }
  if (t.size() != 10) {
    log.problems.push_back(where + "a QSO line has 10 fields, this one " +
                           std::to_string(t.size()));
    return;
  }
  CabrilloReadQso q;
  q.refused = tag == "X-QSO";
  q.line = line;
  q.freq = t[0];
  q.mode = t[1];
  q.date = t[2];
  q.time = t[3];
  q.sentCall = t[4];
  q.sentRst = t[5];
  q.sentExchange = t[6];
  q.rcvdCall = t[7];
  q.rcvdRst = t[8];
  q.rcvdExchange = t[9];
  if (!AllDigits(q.freq) && kBandDesignators.count(q.freq) == 0) {
    log.problems.push_back(where + "frequency '" + q.freq + "' is neither kHz nor a band");
  }
  if (kModes.count(q.mode) == 0) {
    log.problems.push_back(where + "mode '" + q.mode + "' is none of CW PH FM RY DG");
  }
  // A refused contact may lack what a scored one must have.
  if (!q.refused) {
    if (!IsDate(q.date) || !IsTime(q.time)) {
      log.problems.push_back(where + "'" + q.date + " " + q.time + "' is no date and time");
    }
    if (!IsCall(q.sentCall) || !IsCall(q.rcvdCall)) {
      log.problems.push_back(where + "a callsign is not one");
    }
    if (!AllDigits(q.sentRst) || !AllDigits(q.rcvdRst)) {
      log.problems.push_back(where + "a report is not a number");
    }
  }
  if (Template(tag + ":", t) != line) {
    log.problems.push_back(where + "columns differ from the template:\n  " + line + "\n  " +
                           Template(tag + ":", t));
  }
  log.qsos.push_back(q);
}

}  // namespace

std::string CabrilloReadLog::Value(const std::string& tag) const {
  const auto it = header.find(tag);
  return it == header.end() || it->second.empty() ? std::string() : it->second.front();
}

CabrilloReadLog ReadCabrilloLog(const std::string& bytes) {
  CabrilloReadLog log;
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) {
    log.problems.push_back("the file does not end with CR LF");
  }
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", at);
    lines.push_back(bytes.substr(at, end == std::string::npos ? end : end - at));
    at = end == std::string::npos ? bytes.size() : end + 2;
  }
  bool inQsos = false;
  bool ended = false;
  std::string lastQsoTime;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::string where = "line " + std::to_string(i + 1) + ": ";
    if (ended) {
      log.problems.push_back(where + "follows END-OF-LOG");
    }
    for (char c : line) {
      const unsigned char u = static_cast<unsigned char>(c);
      if (u < 0x20 || u > 0x7E) {
        log.problems.push_back(where + "holds the byte " + std::to_string(u) +
                               " (only printable ASCII; CR LF ends lines)");
        break;
      }
    }
    const std::size_t colon = line.find(':');
    const std::string tag = line.substr(0, colon);
    if (colon == std::string::npos || tag.empty() ||
        !std::all_of(tag.begin(), tag.end(), [](char c) {
          return std::isupper(static_cast<unsigned char>(c)) ||
                 std::isdigit(static_cast<unsigned char>(c)) || c == '-';
        })) {
      log.problems.push_back(where + "no tag");
      continue;
    }
    if (kKnownTags.count(tag) == 0 && tag.compare(0, 2, "X-") != 0) {
      log.problems.push_back(where + "unknown tag " + tag);
    }
    if (colon + 1 < line.size() && line[colon + 1] != ' ') {
      log.problems.push_back(where + "no blank after the tag");
    }
    std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : std::string();
    if (i == 0 && line != "START-OF-LOG: 3.0") {
      log.problems.push_back(where + "the first line must be 'START-OF-LOG: 3.0'");
    }
    if (tag == "QSO" || tag == "X-QSO") {
      inQsos = true;
      const std::size_t before = log.qsos.size();
      ReadQso(tag, line, where, log);
      if (log.qsos.size() > before && !log.qsos.back().refused) {
        const std::string when = log.qsos.back().date + " " + log.qsos.back().time;
        if (when < lastQsoTime) {
          log.problems.push_back(where + "QSO lines are not in time order");
        }
        lastQsoTime = when;
      }
      continue;
    }
    if (tag == "END-OF-LOG") {
      ended = true;
      if (line != "END-OF-LOG:") {
        log.problems.push_back(where + "END-OF-LOG carries a value");
      }
      continue;
    }
    if (inQsos) {
      log.problems.push_back(where + "header tag " + tag + " after the first QSO line");
    }
    const std::size_t limit = tag == "ADDRESS" ? 45 : 75;
    if (line.size() > limit) {
      log.problems.push_back(where + tag + " line longer than " + std::to_string(limit));
    }
    if (log.header.count(tag) != 0 && kRepeatable.count(tag) == 0) {
      log.problems.push_back(where + tag + " a second time");
    }
    log.header[tag].push_back(value);
    log.headerTags.push_back(tag);
  }
  if (!ended) {
    log.problems.push_back("no END-OF-LOG line at the end");
  }
  for (const char* tag : kRequired) {
    if (log.header.count(tag) == 0) {
      log.problems.push_back(std::string("no ") + tag);
    }
  }
  for (const auto& [tag, allowed] : kCategoryValues) {
    const std::string v = log.Value(tag);
    if (log.header.count(tag) != 0 && allowed.count(v) == 0) {
      log.problems.push_back(tag + " '" + v + "' is not a Cabrillo 3.0 value");
    }
  }
  if (log.header.count("CLAIMED-SCORE") != 0 && !AllDigits(log.Value("CLAIMED-SCORE"))) {
    log.problems.push_back("CLAIMED-SCORE '" + log.Value("CLAIMED-SCORE") + "' is not a number");
  }
  if (log.header.count("ADDRESS") != 0 && log.header.at("ADDRESS").size() > 6) {
    log.problems.push_back("more than six ADDRESS lines");
  }
  return log;
}
