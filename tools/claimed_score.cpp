#include "tools/claimed_score.h"

#include <cctype>

std::optional<std::int32_t> ClaimedScoreOfResult(std::string_view resultText) {
  constexpr std::string_view kRow = "Score:";
  std::size_t at = 0;
  while (at != std::string_view::npos) {
    if (resultText.compare(at, kRow.size(), kRow) == 0) {
      break;
    }
    at = resultText.find('\n', at);
    at = at == std::string_view::npos ? at : at + 1;
  }
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  std::size_t end = resultText.find_first_of("\r\n", at);
  const std::string_view row = resultText.substr(
      at + kRow.size(), end == std::string_view::npos ? end : end - at - kRow.size());
  std::uint32_t sum = 0;
  bool any = false;
  std::size_t i = 0;
  while (i < row.size()) {
    if (row[i] == ' ' || row[i] == '\t') {
      ++i;
      continue;
    }
    bool negative = false;
    if (row[i] == '-') {
      negative = true;
      ++i;
    }
    if (i >= row.size() || !std::isdigit(static_cast<unsigned char>(row[i]))) {
      return std::nullopt;
    }
    std::uint32_t value = 0;
    while (i < row.size() && std::isdigit(static_cast<unsigned char>(row[i]))) {
      value = value * 10u + static_cast<std::uint32_t>(row[i] - '0');
      ++i;
    }
    sum += negative ? 0u - value : value;
    any = true;
  }
  if (!any) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(sum);
}

std::string ClaimedScore(const std::string& settingsClaimed, std::string_view resultText,
                         std::vector<std::string>& notes) {
  const std::optional<std::int32_t> sum = ClaimedScoreOfResult(resultText);
  if (!sum) {
    return settingsClaimed.empty() ? std::string("0") : settingsClaimed;
  }
  const std::string table = std::to_string(*sum);
  if (!settingsClaimed.empty() && settingsClaimed != table) {
    notes.push_back("the settings hold Claimed=" + settingsClaimed +
                    ", which the plug-in did not write in this replay (is the settings file "
                    "writable?); the score table's " +
                    table + " is claimed");
  }
  return table;
}
