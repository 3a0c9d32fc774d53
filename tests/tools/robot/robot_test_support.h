// Small logs and sheets for the robot's tests, written as the report run
// writes them.
#pragma once

#include <string>

// A QSO line of the report run: own call Q1AA unless given.
inline std::string QsoLine(const std::string& khz, const std::string& mode,
                           const std::string& when, const std::string& call,
                           const std::string& own = "Q1AA") {
  return "QSO: " + khz + " " + mode + " " + when + " " + own + " 001 " + call + " 005\r\n";
}

// Three RTTY QSOs on 20 m with three prefixes: QSO 3, PFX 3, score 9.
inline std::string RttyLog(const std::string& own = "Q1AA") {
  return QsoLine("14080", "RY", "2016-02-13 1200", "DL1ABC", own) +
         QsoLine("14081", "RY", "2016-02-13 1210", "G4XYZ", own) +
         QsoLine("14082", "RY", "2016-02-13 1220", "F5AB", own);
}

inline std::string SummarySheet(const std::string& call) {
  return "\t\tKOVA Brawlcup Digital Prefix Contest 2016\r\n"
         "\tContest Date(s) : 13-Feb-2016 - 14-Feb-2016\r\n"
         "\tCallsign Used : " + call + "\r\n"
         "         CATEGORY-POWER : LOW\r\n"
         "\tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n"
         "QSO\t 0\t 0\t 0\t 0\t 3\t 0\t 0\r\n"
         "PFX\t 0\t 0\t 0\t 0\t 3\t 0\t 0\r\n"
         "Score\t 0\t 0\t 0\t 0\t 9\t 0\t 0\r\n";
}
