#include "host_scenario.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/common/host_arguments.h"

COleDateTime HostDateOf(int year, int month, int day, int hour, int minute) {
  return COleDateTime{
      static_cast<double>(HostDayOfDate(year, month, day)) + (hour * 60.0 + minute) / 1440.0,
      COleDateTime::valid};
}

HostContact ContactAt(const char* call, const char* band, const char* mode, const char* prefix,
                      const char* nrSent, const char* nrRcvd, unsigned int hertz, int hour,
                      int minute) {
  HostContact c;
  c.call = call;
  c.band = band;
  c.mode = mode;
  c.prefix = prefix;
  c.rstSent = "599";
  c.rstRcvd = "579";
  c.nrSent = nrSent;
  c.nrRcvd = nrRcvd;
  c.hertz = hertz;
  c.time = HostDateOf(2016, 2, 13, hour, minute);
  return c;
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

std::string RunPassTranscript(const PluginEntryPoints& stats) {
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

  const HostContact contacts[] = {
      ContactAt("Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5),
      ContactAt("Q3BB", "40m", "BPSK31", "Q3", "002", "012", 7035000, 9, 10),
      ContactAt("Q2AA", "20m", "RTTY", "Q2", "003", "013", 14081000, 9, 15),  // dupe
      ContactAt("Q4CC", "30m", "RTTY", "Q4", "004", "014", 10140000, 9, 20),  // WARC: refused
      ContactAt("Q5DD", "20m", "CW", "Q5", "005", "015", 14020000, 9, 25),    // CW: refused
      ContactAt("Q6EE", "15m", "OLIVIA", "Q6", "006", "", 21080000, 9, 30),   // no serial
      ContactAt("Q7FF", "10m", "MT63", "Q7", "007", "017", 28120000, 9, 35),
      ContactAt("Q8GG", "20m", "HELL", "Q2", "008", "018", 14063000, 9, 40),
      ContactAt("Q9HH", "80m", "SSTV", "Q9", "009", "019", 3730000, 9, 45),
      ContactAt("Q2AA", "40m", "RTTY", "Q2", "010", "020", 7040000, 9, 50),
      ContactAt("Q1II", "160m", "THROB", "Q1", "011", "021", 1838000, 9, 55),
      ContactAt("Q3JJ", "20m", "MFSK", "Q3", "012", "022", 14074000, 10, 0),
  };
  for (const HostContact& c : contacts) {
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
    const CallCheckAnswer a =
        CallCheckCall(stats.checkCall, c.call, c.mode, c.prefix, c.exchange, c.band, c.otherBand);
    t << "CheckCall0(" << c.call << " " << c.mode << " \"" << c.exchange << "\" " << c.band << "/"
      << (c.otherBand != nullptr ? c.otherBand : "<null>") << ") = " << a.answer
      << (a.buffersKept ? "" : " (wrote into its buffers)") << "\n";
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
