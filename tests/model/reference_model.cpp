#include "model/reference_model.h"

#include <cctype>
#include <cstdio>
#include <cstdint>
#include <cstring>

namespace {

int GroupOf(const std::string& mode) {
  static const char* const kNames[7][3] = {
      {"BPSK31", "BPSK63", "BPSK125"}, {"HELL", nullptr, nullptr}, {"MFSK", "OLIVIA", nullptr},
      {"MT63", nullptr, nullptr},      {"RTTY", nullptr, nullptr}, {"THROB", nullptr, nullptr},
      {"SSTV", nullptr, nullptr}};
  for (int g = 0; g < 7; ++g) {
    for (const char* name : kNames[g]) {
      if (name != nullptr && mode == name) {
        return g;
      }
    }
  }
  return -1;
}

std::string Line(const ModelQso& q, const std::string& ownCall, const char* message) {
  return "QSO:  " + std::to_string(q.hertz / 1000u) + "  " + q.mode + "  " +
         FormatDateTime(q.time, "%Y-%m-%d %H%M") + "  " + ownCall + "  " + q.rstSent + "  " +
         q.nrSent + "  " + q.call + "  " + q.rstRcvd + "  " + q.nrRcvd + message + "\r\n";
}

std::string Padded(std::string s) {
  while (s.size() < 20) {
    s = "0" + s;
  }
  return s;
}

}  // namespace

void ReferenceModel::Reset(int reportFlag, const std::string& callsign, const COleDateTime& start,
                           const COleDateTime& end, const std::string& modeWord) {
  startText_ = FormatDateTime(start, "%d.%m");
  endText_ = FormatDateTime(end, "%d.%m.%Y");
  qsos_.clear();
  contestant_ = callsign;
  modeWord_ = modeWord;
  bands_.clear();
  reportFlag_ = reportFlag;
  errText = "KOVA-BRAWLCUP UBN file \r\n";
}

int ReferenceModel::Add(const std::string& ownCall, const HostContact& in) {
  bool known = false;
  for (const std::string& b : bands_) {
    known = known || b == in.band;
  }
  if (!known) {
    bands_.push_back(in.band);
  }
  ModelQso q;
  static_cast<HostContact&>(q) = in;
  if (q.band == "30m" || q.band == "17m" || q.band == "12m") {
    errText += Line(q, ownCall, "   NO CONTEST BAND !!!");
    return 0;
  }
  if (q.mode == "CW" || q.mode == "SSB") {
    errText += Line(q, ownCall, "   NO CONTEST MODE !!!");
    return 0;
  }
  if (q.nrRcvd.empty() || q.nrSent.empty()) {
    errText += Line(q, ownCall, "   NO RX NUMBER !!!");
    return 0;
  }
  for (const ModelQso& r : qsos_) {
    if (r.call == q.call && r.band == q.band && r.mode == q.mode) {
      errText += Line(q, ownCall, "   DUPE !!!");
      q.isDupe = 1;
    }
  }
  qsos_.push_back(q);
  return 1;
}

int ReferenceModel::Remove(const std::string& call, const std::string& band) {
  for (std::size_t i = 0; i < qsos_.size(); ++i) {
    if (qsos_[i].call == call && qsos_[i].band == band) {
      qsos_.erase(qsos_.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  return 1;
}

int ReferenceModel::Check(const std::string& call, const std::string& mode,
                          const std::string& prefix, const std::string& exchange,
                          const char* band, const char* otherBand) const {
  if (band != nullptr && otherBand != nullptr) {
    std::string a = band;
    std::string b = otherBand;
    for (char& c : a) {
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (char& c : b) {
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (a != b) {
      return 4;
    }
  }
  if (exchange.empty()) {
    return 1;
  }
  const std::string bandText = band != nullptr ? band : "";
  for (const ModelQso& r : qsos_) {
    if (r.call == call && r.band == bandText && r.mode == mode) {
      return 0;
    }
  }
  for (const ModelQso& r : qsos_) {
    if (r.prefix == prefix) {
      return 1;
    }
  }
  return 2;
}

const std::string& ReferenceModel::Result() {
  const std::size_t n = qsos_.size();
  resultText = "\t  KOVA-BRAWLCUP " + startText_ + "-" + endText_ + " " + modeWord_ +
               "\r\n\t\t     Contestant: " + contestant_ +
               "\r\n    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n";
  for (std::size_t i = 0; i + 1 < bands_.size(); ++i) {
    for (std::size_t j = i + 1; j < bands_.size(); ++j) {
      const std::string a = Padded(bands_[i]);
      const std::string b = Padded(bands_[j]);
      if (std::strcmp(a.c_str(), b.c_str()) < 0) {
        std::swap(bands_[i], bands_[j]);
      }
    }
  }
  for (auto& list : prefixLists) {
    list.clear();
  }
  int64_t totals[7] = {0, 0, 0, 0, 0, 0, 0};
  for (const std::string& b : bands_) {
    int64_t perBand[7] = {0, 0, 0, 0, 0, 0, 0};
    for (const ModelQso& q : qsos_) {
      if (q.band != b || q.call.empty() || q.isDupe != 0) {
        continue;
      }
      const int g = GroupOf(q.mode);
      if (g < 0) {
        continue;
      }
      ++perBand[g];
      bool seen = false;
      for (const std::string& p : prefixLists[g]) {
        seen = seen || p == q.prefix;
      }
      if (!seen) {
        prefixLists[g].push_back(q.prefix);
      }
    }
    for (int g = 0; g < 7; ++g) {
      totals[g] += perBand[g];
    }
  }
  std::string rows[3];
  std::string table[3];
  const char* heads[3] = {"QSO:", "PFX:", "Score:"};
  const char* tableHeads[3] = {"QSO", "PFX", "Score"};
  int64_t sum = 0;
  for (int r = 0; r < 3; ++r) {
    rows[r] = heads[r];
    table[r] = tableHeads[r];
    for (int g = 0; g < 7; ++g) {
      const int64_t prefixes = static_cast<int64_t>(prefixLists[g].size());
      const int64_t value = r == 0 ? totals[g] : r == 1 ? prefixes : totals[g] * prefixes;
      const int32_t shown = static_cast<int32_t>(static_cast<uint32_t>(value));
      if (r == 2) {
        sum += shown;
      }
      rows[r] += "\t " + std::to_string(shown);
      table[r] += "\t " + std::to_string(shown);
    }
    rows[r] += "\r\n";
    table[r] += "\n";
  }
  resultText += rows[0] + rows[1] + rows[2];
  tableText = table[0] + table[1] + table[2];
  claimed = static_cast<int32_t>(static_cast<uint32_t>(sum));
  if (reportFlag_ == 0 && n > 0) {
    resultText += "\r\nCreated by Q9ZZ 2016";
  }
  return resultText;
}
