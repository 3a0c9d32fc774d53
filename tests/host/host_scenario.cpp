#include "host_scenario.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

const EntryPointName kEntryPointNames[10] = {
    {"AddData0", "?AddData0@@YAHPBD0PAVCOleDateTime@ATL@@111II000000000000000HHHNN00000@Z"},
    {"RemoveData0", "?RemoveData0@@YAHPBD0PAVCOleDateTime@ATL@@111II000000000000000HHHNN00000@Z"},
    {"CheckCall0", "?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z"},
    {"GetNumberOfSets", "?GetNumberOfSets@@YAHXZ"},
    {"GetResult0", "?GetResult0@@YAPBDPAH@Z"},
    {"GetSetName", "?GetSetName@@YAPBDH@Z"},
    {"ResetStats0", "?ResetStats0@@YAHPBDH0PAVCOleDateTime@ATL@@10000000000HHHNN000@Z"},
    {"SetupSet0", "?SetupSet0@@YAXXZ"},
    {"GetExchgCount0", "?StatsGetExchgCount0@@YAHPBD00@Z"},
    {"IsValidExchg0", "?StatsIsValidExchg0@@YAHPBD000HHH@Z"},
};

HostDate HostDateOf(int year, int month, int day, int hour, int minute) {
  // Days from 1 Jan 1970 (civil-from-days inverted), then to the host's epoch.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long days = static_cast<long>(era) * 146097 + doe - 719468 + 25569;
  HostDate d;
  d.dt = static_cast<double>(days) + (hour * 60.0 + minute) / 1440.0;
  return d;
}

int CallAddData(AddDataFn fn, const char* ownCall, const Contact& c) {
  HostDate time = HostDateOf(2016, 2, 13, c.hour, c.minute);
  HostDate other = HostDateOf(1999, 12, 31);
  // Every position the plug-in ignores carries a value of its own, so a
  // shifted argument shows up as a wrong answer.
  return fn(ownCall, c.call, &time, &other, &other, &other, 7u, c.hertz, c.mode, "599", "579",
            c.nrSent, c.nrRcvd, "p14", "p15", "p16", "p17", "p18", "p19", "p20", "p21", c.prefix,
            "p23", 24, 25, 26, 27.25, 28.5, "p29", "p30", "p31", c.band, "p33");
}

int CallCheckCall(CheckCallFn fn, const char* call, const char* mode, const char* prefix,
                  const char* exchange, const char* band, const char* otherBand,
                  bool& buffersKept) {
  char b27[16] = "buffer27";
  char b28[16] = "buffer28";
  const int r = fn(call, 2u, 3u, mode, "p5", "p6", "p7", "p8", "p9", "p10", "p11", "p12", prefix,
                   exchange, 15, 16, 17, 18.5, 19.5, "p20", "p21", "p22", "p23", "p24", band,
                   otherBand, b27, b28);
  buffersKept = std::string(b27) == "buffer27" && std::string(b28) == "buffer28";
  return r;
}

int CallResetStats(ResetStatsFn fn, int reportFlag, const char* callsign, HostDate start,
                   HostDate end) {
  return fn("p1", reportFlag, callsign, &start, &end, "p6", "p7", "p8", "p9", "p10", "p11", "p12",
            "p13", "p14", "p15", 16, 17, 18, 19.5, 20.5, "p21", "p22", "p23");
}

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string FileBytesOrMissing(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return "<missing>";
  }
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string RunPassTranscript(const EntryPoints& stats) {
  // The mode switch panel has a test program of its own (panel_host): with
  // "Start" at 1 this pass's reset opens none, so the settings file holds
  // only what the exports write, the same on every platform.
  {
    std::ofstream settings("Plugins/KOVA-BRAWLCUP.ini", std::ios::binary | std::ios::trunc);
    settings << "[Settings]\r\nStart=1\r\n";
  }
  std::ostringstream t;
  t << "GetNumberOfSets() = " << stats.getNumberOfSets() << "\n";
  for (int i : {0, 1, -1}) {
    const char* name = stats.getSetName(i);
    t << "GetSetName(" << i << ") = \"" << Escaped(name != nullptr ? name : "<null>") << "\"\n";
  }
  t << "GetExchgCount0 = " << stats.getExchgCount("a", "b", "c") << "\n";
  struct Exchange {
    const char* text;
    const char* reference;
    int field;
  };
  for (const Exchange& e : {Exchange{"abc", "", 0}, Exchange{"ab1", "", 0}, Exchange{"", "", 0},
                            Exchange{"599", "599", 1}, Exchange{"599", "579", 1},
                            Exchange{"x", "x", 2}}) {
    t << "IsValidExchg0(\"" << e.text << "\", \"" << e.reference << "\", " << e.field
      << ") = " << stats.isValidExchg(e.text, "p2", e.reference, "p4", 5, 6, e.field) << "\n";
  }

  t << "ResetStats0 = "
    << CallResetStats(stats.resetStats, 0, "Q1HOST", HostDateOf(2016, 2, 13),
                      HostDateOf(2016, 2, 14))
    << "\n";

  const Contact contacts[] = {
      {"Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5},
      {"Q3BB", "40m", "BPSK31", "Q3", "002", "012", 7035000, 9, 10},
      {"Q2AA", "20m", "RTTY", "Q2", "003", "013", 14081000, 9, 15},    // dupe
      {"Q4CC", "30m", "RTTY", "Q4", "004", "014", 10140000, 9, 20},    // WARC: refused
      {"Q5DD", "20m", "CW", "Q5", "005", "015", 14020000, 9, 25},      // CW: refused
      {"Q6EE", "15m", "OLIVIA", "Q6", "006", "", 21080000, 9, 30},     // no serial: refused
      {"Q7FF", "10m", "MT63", "Q7", "007", "017", 28120000, 9, 35},
      {"Q8GG", "20m", "HELL", "Q2", "008", "018", 14063000, 9, 40},
      {"Q9HH", "80m", "SSTV", "Q9", "009", "019", 3730000, 9, 45},
      {"Q2AA", "40m", "RTTY", "Q2", "010", "020", 7040000, 9, 50},
      {"Q1II", "160m", "THROB", "Q1", "011", "021", 1838000, 9, 55},
      {"Q3JJ", "20m", "MFSK", "Q3", "012", "022", 14074000, 10, 0},
  };
  for (const Contact& c : contacts) {
    t << "AddData0(" << c.call << " " << c.band << " " << c.mode << ") = "
      << CallAddData(stats.addData, "Q1HOST", c) << "\n";
  }
  t << "RemoveData0(Q9HH 80m) = " << CallAddData(stats.removeData, "Q1HOST", contacts[8])
    << "\n";

  struct Check {
    const char* call;
    const char* mode;
    const char* prefix;
    const char* exchange;
    const char* band;
    const char* otherBand;
  };
  for (const Check& c : {Check{"Q2AA", "RTTY", "Q2", "599", "20m", "20m"},
                         Check{"Q2ZZ", "RTTY", "Q2", "599", "20m", "20m"},
                         Check{"Q0NEW", "RTTY", "Q0", "599", "20m", "20m"},
                         Check{"Q0NEW", "RTTY", "Q0", "", "20m", "20m"},
                         Check{"Q2AA", "RTTY", "Q2", "599", "20m", "40M"},
                         Check{"Q2AA", "RTTY", "Q2", "599", "20m", "20M"},
                         Check{"Q9HH", "SSTV", "Q9", "599", "80m", nullptr}}) {
    bool kept = false;
    const int r = CallCheckCall(stats.checkCall, c.call, c.mode, c.prefix, c.exchange, c.band,
                                c.otherBand, kept);
    t << "CheckCall0(" << c.call << " " << c.mode << " \"" << c.exchange << "\" " << c.band << "/"
      << (c.otherBand != nullptr ? c.otherBand : "<null>") << ") = " << r
      << (kept ? "" : " (wrote into its buffers)") << "\n";
  }

  for (int pass = 1; pass <= 2; ++pass) {
    int out = 12345;
    const char* result = stats.getResult(&out);
    t << "GetResult0 #" << pass << " out=" << out << " text=\""
      << Escaped(result != nullptr ? result : "<null>") << "\"\n";
  }

  t << "file err.txt: " << Escaped(FileBytesOrMissing("err.txt")) << "\n";
  t << "file Plugins/KOVA-BRAWLCUP.ini: "
    << Escaped(FileBytesOrMissing("Plugins/KOVA-BRAWLCUP.ini")) << "\n";
  for (const char* f : {"RTTY.log", "Q1HOST.sum"}) {
    t << "file " << f << ": " << Escaped(FileBytesOrMissing(f)) << "\n";
  }
  return t.str();
}
