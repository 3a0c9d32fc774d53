#include "tools/replay_options.h"

#include <string>

#include "tools/host_qso.h"

const char kReplayUsage[] =
    "usage: stats-replay [options] LOG.adi\n"
    "Replays an ADIF log through the contest plug-in as the logging program does\n"
    "and prints the plug-in's result text.\n"
    "\n"
    "  --plugin PATH      the plug-in library (default: the one beside this program)\n"
    "  --call CALL        own callsign (default: the log's STATION_CALLSIGN, then OPERATOR)\n"
    "  --start DATE       contest start, YYYY-MM-DD (default: the first QSO date)\n"
    "  --end DATE         contest end, YYYY-MM-DD (default: the last QSO date)\n"
    "  --report           a report run: the plug-in writes its per-mode logs and\n"
    "                     summary sheet (and its settings below Plugins)\n"
    "  --out DIR          the folder the plug-in writes in (default: the current one)\n"
    "  --cabrillo FILE    also write the log as one Cabrillo 3.0 file for submission,\n"
    "                     its header from the plug-in's header settings\n"
    "  --check CALL BAND MODE PREFIX\n"
    "                     after the replay, print the plug-in's answer for this call\n"
    "  --help             this text\n";

std::optional<long> ParseOptionDate(const std::string& text) {
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    return DayNumberOfIsoDate(text);
  }
  if (text.size() == 8) {
    return DayNumberOfDate(text);
  }
  return std::nullopt;
}

bool ParseReplayOptions(const std::vector<std::string>& args, ReplayOptions& out,
                        std::string& error) {
  out = ReplayOptions();
  std::size_t i = 0;
  // The next `count` arguments of option `name`, or false when they are missing.
  auto take = [&](const std::string& name, std::size_t count, std::vector<std::string>& values) {
    if (args.size() - i - 1 < count) {
      error = name + " needs " +
              (count == 1 ? std::string("a value") : std::to_string(count) + " values");
      return false;
    }
    values.assign(args.begin() + static_cast<long>(i) + 1,
                  args.begin() + static_cast<long>(i + 1 + count));
    i += count;
    return true;
  };
  auto date = [&](const std::string& name, std::optional<long>& day) {
    std::vector<std::string> v;
    if (!take(name, 1, v)) {
      return false;
    }
    day = ParseOptionDate(v[0]);
    if (!day) {
      error = name + " '" + v[0] + "' is not a date (YYYY-MM-DD)";
      return false;
    }
    return true;
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::vector<std::string> v;
    if (a == "--help" || a == "-h") {
      out.help = true;
    } else if (a == "--report") {
      out.report = true;
    } else if (a == "--plugin" || a == "--call" || a == "--out") {
      if (!take(a, 1, v)) {
        return false;
      }
      if (a == "--plugin") {
        out.pluginPath = v[0];
      } else if (a == "--call") {
        out.ownCall = v[0];
      } else {
        out.outDir = v[0];
      }
    } else if (a == "--cabrillo") {
      if (!take(a, 1, v)) {
        return false;
      }
      if (v[0].empty()) {
        error = "--cabrillo needs a file name";
        return false;
      }
      out.cabrilloPath = v[0];
    } else if (a == "--start") {
      if (!date(a, out.startDay)) {
        return false;
      }
    } else if (a == "--end") {
      if (!date(a, out.endDay)) {
        return false;
      }
    } else if (a == "--check") {
      if (!take(a, 4, v)) {
        return false;
      }
      out.checks.push_back(CallCheck{v[0], v[1], v[2], v[3]});
    } else if (a.size() > 1 && a[0] == '-') {
      error = "unknown option " + a;
      return false;
    } else if (out.logPath.empty()) {
      out.logPath = a;
    } else {
      error = "one log at a time: " + a + " follows " + out.logPath;
      return false;
    }
  }
  if (out.help) {
    return true;
  }
  if (out.logPath.empty()) {
    error = "no log given";
    return false;
  }
  if (out.startDay && out.endDay && *out.endDay < *out.startDay) {
    error = "--end lies before --start";
    return false;
  }
  return true;
}
