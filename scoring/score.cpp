#include "scoring/score.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "contest/report_formats.h"

namespace {

constexpr std::size_t kBandPadWidth = 20;

std::string PadBand(std::string name) {
  if (name.size() < kBandPadWidth) {
    name.insert(0, kBandPadWidth - name.size(), '0');
  }
  return name;
}

bool PaddedLess(const std::string& a, const std::string& b) {
  // Character codes compare as unsigned bytes, like the host's string compare.
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

std::string Row(std::string_view head, const char* colon, const char* sep,
                const std::array<int32_t, kModeGroupCount>& v, const char* end) {
  std::string row(head);
  row += colon;
  for (int32_t value : v) {
    row += sep;
    row += std::to_string(value);
  }
  row += end;
  return row;
}

}  // namespace

void SortBandList(BandList& bands) {
  // Exchange sort over the padded names, swapping the names alongside; the
  // band list of a contest is short, and this order is what the host expects
  // even where two names pad to the same text.
  std::vector<std::string> padded;
  padded.reserve(bands.size());
  for (const std::string& band : bands) {
    padded.push_back(PadBand(band));
  }
  for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
    for (std::size_t j = i + 1; j < bands.size(); ++j) {
      if (PaddedLess(padded[i], padded[j])) {
        std::swap(padded[i], padded[j]);
        std::swap(bands[i], bands[j]);
      }
    }
  }
}

int32_t MultiplyScore(int32_t qsos, int32_t prefixes) {
  const int64_t product = static_cast<int64_t>(qsos) * static_cast<int64_t>(prefixes);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(product)));
}

int32_t ClaimedScore(const ScoreTable& table) {
  uint32_t sum = 0;
  for (int32_t s : table.scores) {
    sum += static_cast<uint32_t>(s);
  }
  return static_cast<int32_t>(sum);
}

ScoreTable ComputeScore(const QsoStore& store, BandList& bands) {
  SortBandList(bands);
  std::unordered_map<std::string, std::size_t> bandOrder;
  for (std::size_t i = 0; i < bands.size(); ++i) {
    bandOrder.emplace(bands[i], i);
  }

  // One pass files every counted QSO under its band, list order kept within
  // a band; visiting the bands in sorted order then gives the same tallies and
  // prefix order as one walk of the list per band.
  struct Counted {
    const CInfo* qso;
    int group;
  };
  std::vector<std::vector<Counted>> byBand(bands.size());
  for (const CInfo& q : store.records()) {
    if (q.m_call.empty() || q.m_isDupe != 0) {
      continue;
    }
    const int g = ModeGroupOf(q.m_mode);
    const auto band = bandOrder.find(q.m_band);
    if (g < 0 || band == bandOrder.end()) {
      continue;
    }
    byBand[band->second].push_back({&q, g});
  }

  ScoreTable table;
  std::array<std::unordered_set<std::string>, kModeGroupCount> seen;
  for (const std::vector<Counted>& band : byBand) {
    for (const Counted& c : band) {
      ++table.qsos[c.group];
      if (seen[c.group].insert(c.qso->m_prefix).second) {
        table.prefixLists[c.group].push_back(c.qso->m_prefix);
      }
    }
  }
  for (int g = 0; g < kModeGroupCount; ++g) {
    table.prefixes[g] = static_cast<int32_t>(table.prefixLists[g].size());
    table.scores[g] = MultiplyScore(table.qsos[g], table.prefixes[g]);
  }
  return table;
}

std::string ResultText(const ResultHeading& heading, const ScoreTable& table, bool addCredit) {
  std::string text = "\t  KOVA-BRAWLCUP " + heading.startDate + "-" + heading.endDate + " " +
                     heading.modeWord + "\r\n\t\t     Contestant: " + heading.contestant +
                     "\r\n    " + TabbedHeadings() + "\r\n";
  text += Row(kScoreRowQsos, ":", "\t ", table.qsos, "\r\n");
  text += Row(kScoreRowPrefixes, ":", "\t ", table.prefixes, "\r\n");
  text += Row(kScoreRowScores, ":", "\t ", table.scores, "\r\n");
  if (addCredit) {
    text += "\r\nCreated by Q9ZZ 2016";
  }
  return text;
}

std::string TableText(const ScoreTable& table) {
  return Row(kScoreRowQsos, "", "\t ", table.qsos, "\n") +
         Row(kScoreRowPrefixes, "", "\t ", table.prefixes, "\n") +
         Row(kScoreRowScores, "", "\t ", table.scores, "\n");
}
