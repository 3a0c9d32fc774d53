// A small Cabrillo 3.0 reader for the tests: it takes a file apart line by line
// by its tag, the way a contest robot does, and lists everything a robot would
// refuse. It knows nothing of how stats-replay writes the file.
#pragma once

#include <map>
#include <string>
#include <vector>

struct CabrilloReadQso {
  bool refused = false;  // an X-QSO line
  std::string line;
  std::string freq;
  std::string mode;
  std::string date;
  std::string time;
  std::string sentCall;
  std::string sentRst;
  std::string sentExchange;
  std::string rcvdCall;
  std::string rcvdRst;
  std::string rcvdExchange;
};

struct CabrilloReadLog {
  // Every header value by tag, in file order (repeated tags have several).
  std::map<std::string, std::vector<std::string>> header;
  std::vector<std::string> headerTags;  // file order, with repeats
  std::vector<CabrilloReadQso> qsos;    // QSO and X-QSO lines in file order
  std::vector<std::string> problems;    // "line 12: ..."; empty: accepted

  // The one value of a tag, or "" when it is missing.
  std::string Value(const std::string& tag) const;
};

CabrilloReadLog ReadCabrilloLog(const std::string& bytes);
