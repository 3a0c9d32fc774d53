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

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "scoring/qso_store.h"

inline constexpr int kGridTexts = kModeGroupCount + 1;  // band label, one cell per group

// One row per grid band (160 .. 10 m) of a band label and seven cells.
using WorkedGrid = std::array<std::vector<std::string>, kGridRows>;

// The labels of the panel's band rows, in grid order; label l names row l.
std::vector<std::string> PanelBandLabels();

// What a reset leaves in the grid: each row's band label, then "-" in every
// cell.
void LabelGridRows(WorkedGrid& grid);

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
inline int BandIndexFromHertz(double hertz) { return OperatorBandOfHertz(hertz); }
