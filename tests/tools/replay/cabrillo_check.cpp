// cabrillo-check FILE [TAG=VALUE | TAG+=VALUE | --qso N | --x-qso N]...
//
// Reads a Cabrillo log with the tests' reader and checks it against what the
// caller expects: TAG=VALUE for a tag's one value, TAG+=VALUE for the values of
// a repeated tag in order (one argument each), the number of QSO and X-QSO
// lines. Every QSO line must carry the log's own callsign. Prints each problem
// and exits 1 when there is one.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "cabrillo_reader.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: cabrillo-check FILE [TAG=VALUE | TAG+=VALUE | --qso N | --x-qso N]...\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::printf("cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const CabrilloReadLog log = ReadCabrilloLog(bytes);
  std::vector<std::string> problems = log.problems;

  long qsoLines = 0;
  long xQsoLines = 0;
  for (const CabrilloReadQso& q : log.qsos) {
    ++(q.refused ? xQsoLines : qsoLines);
    if (q.sentCall != log.Value("CALLSIGN")) {
      problems.push_back("own call " + q.sentCall + " differs from CALLSIGN in: " + q.line);
    }
  }
  std::map<std::string, std::vector<std::string>> repeated;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--qso" || a == "--x-qso") && i + 1 < argc) {
      const long expected = std::stol(argv[++i]);
      const long actual = a == "--qso" ? qsoLines : xQsoLines;
      if (expected != actual) {
        problems.push_back(a.substr(2) + " lines: " + std::to_string(actual) + ", expected " +
                           std::to_string(expected));
      }
      continue;
    }
    const std::size_t eq = a.find('=');
    if (eq == std::string::npos || eq == 0) {
      std::fprintf(stderr, "cabrillo-check: cannot use '%s'\n", a.c_str());
      return 2;
    }
    if (a[eq - 1] == '+') {
      repeated[a.substr(0, eq - 1)].push_back(a.substr(eq + 1));
      continue;
    }
    const std::string tag = a.substr(0, eq);
    const auto found = log.header.find(tag);
    const std::vector<std::string> actual =
        found == log.header.end() ? std::vector<std::string>() : found->second;
    if (actual != std::vector<std::string>{a.substr(eq + 1)}) {
      problems.push_back(tag + ": expected '" + a.substr(eq + 1) + "', got " +
                         (actual.empty() ? std::string("nothing") : "'" + actual.front() + "'") +
                         (actual.size() > 1 ? " and more" : ""));
    }
  }
  for (const auto& [tag, expected] : repeated) {
    const auto found = log.header.find(tag);
    const std::vector<std::string> actual =
        found == log.header.end() ? std::vector<std::string>() : found->second;
    if (actual != expected) {
      std::string got;
      for (const std::string& v : actual) {
        got += "\n  '" + v + "'";
      }
      problems.push_back(tag + " lines differ from the " + std::to_string(expected.size()) +
                         " expected; got:" + got);
    }
  }
  for (const std::string& p : problems) {
    std::printf("%s: %s\n", argv[1], p.c_str());
  }
  return problems.empty() ? 0 : 1;
}
