// What a callsign being typed is worth, and the exchange field rules.
#pragma once

#include <string>

#include "contest/call_answers.h"

class QsoStore;

// True when both band texts are given and differ, ignoring case. A null text
// means the host gave no second band, which is never a disagreement.
bool BandsDisagree(const char* band, const char* otherBand);

// Steps after the band agreement: an empty `exchange` answers 1 at once, then
// the duplicate search, then the prefix search.
int CheckCall(const QsoStore& store, const std::string& call, const std::string& mode,
              const std::string& prefix, const std::string& exchange, const std::string& band);

inline constexpr int kExchangeFieldCount = 2;

// Field 0: letters A-Z/a-z only (empty is valid); field 1: equal to
// `reference`; any other index is not valid.
int IsValidExchange(const std::string& text, const std::string& reference, int fieldIndex);
