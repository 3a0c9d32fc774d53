// The report run's files as their writer (reports/, scoring/) and their
// reader (stats-check's submission reader, the replay's claimed score) both
// see them: the QSO line, the summary sheet's labels and the score table's
// rows. One place, so what is written is what is read back.
//
// Constant data; safe on any thread.
#pragma once

#include <cstddef>
#include <string_view>

// A QSO line of the per-mode logs: frequency in kHz, mode code, date and time
// (kQsoLineTimeFormat), own call, serial sent, call worked, serial received.
inline constexpr char kQsoLineFormat[] = "QSO: %5i %2s %s %-13s %-6s %-13s %s";
inline constexpr char kQsoLineTimeFormat[] = "%Y-%m-%d %H%M";
inline constexpr std::string_view kQsoLineWord = "QSO:";
inline constexpr std::size_t kQsoLineFields = 9;  // the word and the eight values

// The summary sheet's labels; each is followed by a blank and its value.
inline constexpr std::string_view kSheetDatesLabel = "Contest Date(s) :";
inline constexpr std::string_view kSheetCallLabel = "Callsign Used :";
inline constexpr std::string_view kSheetPowerLabel = "CATEGORY-POWER :";
inline constexpr std::string_view kSheetClubLabel = "Team/Club :";

// The score table's rows, one number per mode group after the label (the
// result text adds a colon to each label).
inline constexpr std::string_view kScoreRowQsos = "QSO";
inline constexpr std::string_view kScoreRowPrefixes = "PFX";
inline constexpr std::string_view kScoreRowScores = "Score";
