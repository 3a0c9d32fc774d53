#include "tools/common/score_table.h"

#include <array>
#include <cstdlib>
#include <string>

#include "contest/report_formats.h"

namespace {

using Row = std::array<std::int64_t, kModeGroupCount>;

// The seven numbers of a row's text after its label, or empty.
std::optional<Row> RowNumbers(std::string_view line) {
  Row row{};
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    std::size_t j = i + (c == '-' ? 1 : 0);
    const std::size_t digits = j;
    while (j < line.size() && line[j] >= '0' && line[j] <= '9') {
      ++j;
    }
    if (j == digits || j - digits > 18 || count == row.size()) {
      return std::nullopt;
    }
    row[count++] = std::strtoll(std::string(line.substr(i, j - i)).c_str(), nullptr, 10);
    i = j;
  }
  if (count != row.size()) {
    return std::nullopt;
  }
  return row;
}

// The first line of the text that starts with `label` and holds seven numbers.
std::optional<Row> FindRow(std::string_view text, std::string_view label) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (line.substr(0, label.size()) != label) {
      continue;
    }
    line.remove_prefix(label.size());
    if (!line.empty() && line.front() == ':') {
      line.remove_prefix(1);
    }
    if (line.empty() || (line.front() != '\t' && line.front() != ' ')) {
      continue;
    }
    if (std::optional<Row> row = RowNumbers(line)) {
      return row;
    }
  }
  return std::nullopt;
}

}  // namespace

std::int64_t tools::ScoreTable::TotalQsos() const {
  std::int64_t total = 0;
  for (std::int64_t n : qsos) {
    total += n;
  }
  return total;
}

std::int64_t tools::ScoreTable::TotalScore() const {
  std::int64_t total = 0;
  for (std::int64_t n : scores) {
    total += n;
  }
  return total;
}

std::optional<tools::ScoreTable> tools::ParseScoreTable(std::string_view text) {
  const std::optional<Row> qsos = FindRow(text, kScoreRowQsos);
  const std::optional<Row> prefixes = FindRow(text, kScoreRowPrefixes);
  const std::optional<Row> scores = FindRow(text, kScoreRowScores);
  if (!qsos || !prefixes || !scores) {
    return std::nullopt;
  }
  tools::ScoreTable table;
  for (std::size_t g = 0; g < table.qsos.size(); ++g) {
    table.qsos[g] = (*qsos)[g];
    table.prefixes[g] = (*prefixes)[g];
    table.scores[g] = (*scores)[g];
  }
  return table;
}
