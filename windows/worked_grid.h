// The worked-before grid as the panel timer fills it: for the callsign being
// entered, the time of its latest QSO per band row and mode-group cell; and the
// band index of the radio's frequency, which picks the row the Multiplier
// window highlights.
//
// Pure functions on data the caller owns; the caller holds the module lock
// while it passes module data in.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/module_state.h"
#include "scoring/qso_store.h"

// The panel's band labels; label l names grid row l. There is no row for 6 m.
inline constexpr std::array<std::string_view, kGridRows> kPanelBandLabels = {"160m", "80m", "40m",
                                                                             "20m",  "15m", "10m"};

// What a cell holds once the panel has cleared it (a reset leaves "-").
inline constexpr char kClearedCell[] = "   -";

// Sets cells 1..7 of every row to "   -"; a row shorter than the eight texts
// (none built yet) is first padded with empty texts.
void ClearWorkedCells(WorkedGrid& grid);

// For every QSO in list order whose band equals label l and whose call equals
// `call` (both exact), writes its time "%H:%M" into row l at the cell of its
// mode group; modes outside the groups fill nothing and a later QSO overwrites
// an earlier one. Rows must already hold their eight texts.
void FillWorkedGrid(WorkedGrid& grid, const QsoStore& qsos,
                    const std::vector<std::string>& bandLabels, const std::string& call);

// Band index of a frequency in hertz from its whole megahertz, truncated toward
// zero: 1, 3, 7, 14, 21, 28, 50 give 0..6, anything else (29.5 MHz included)
// gives -1.
int BandIndexFromHertz(double hertz);
