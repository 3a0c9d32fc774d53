#include "tools/replay/claimed_score.h"

#include "tools/common/score_table.h"

std::optional<std::int32_t> ClaimedScoreOfResult(std::string_view resultText) {
  const std::optional<tools::ScoreTable> table = tools::ParseScoreTable(resultText);
  if (!table) {
    return std::nullopt;
  }
  // Modulo 2^32 the sum comes out the same whatever width it is added in.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(table->TotalScore()));
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
