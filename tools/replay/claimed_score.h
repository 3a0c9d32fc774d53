// The claimed score of a replay, as the plug-in worked it out. Pure; safe on
// any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The sum of the "Score:" row of the plug-in's result text, as the plug-in adds
// it for "Claimed" (32-bit, wrapping); empty when the text holds no score
// table (see ParseScoreTable).
std::optional<std::int32_t> ClaimedScoreOfResult(std::string_view resultText);

// CLAIMED-SCORE: the "Claimed" value the plug-in wrote, or the sum of its
// result table when the settings file could not be written or holds a value
// the plug-in did not write in this replay (then with a note).
std::string ClaimedScore(const std::string& settingsClaimed, std::string_view resultText,
                         std::vector<std::string>& notes);
