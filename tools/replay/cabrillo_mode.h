// The mode column of a Cabrillo 3.0 QSO line and the log's CATEGORY-MODE.
// Pure; safe on any thread.
#pragma once

#include <string_view>
#include <vector>

// The two-letter mode column for a host mode name (any case): the contest's
// own modes as its mode-group table says ("RY" for RTTY, "DG" for the others),
// "CW", "PH" for the voice modes, "FM", and "DG" for every other (digital)
// mode.
std::string_view CabrilloMode(std::string_view hostMode);

// CATEGORY-MODE for the contacts written as QSO lines: RTTY when all are RTTY
// (and for none at all, as the header form offers), DIGI when all are digital,
// MIXED otherwise.
std::string_view CabrilloCategoryMode(const std::vector<std::string_view>& modeColumns);
