#include "scoring/call_check.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/text.h"
#include "scoring/qso_store.h"

bool BandsDisagree(const char* band, const char* otherBand) {
  if (band == nullptr || otherBand == nullptr) {
    return false;
  }
  return !EqualsNoCase(band, otherBand);
}

int CheckCall(const QsoStore& store, const std::string& call, const std::string& mode,
              const std::string& prefix, const std::string& exchange, const std::string& band) {
  if (exchange.empty()) {
    return kCheckKnownPrefix;
  }
  if (store.CountMatches(call, band, mode) > 0) {
    return kCheckDupe;
  }
  return store.HasPrefix(prefix) ? kCheckKnownPrefix : kCheckNewMultiplier;
}

int IsValidExchange(const std::string& text, const std::string& reference, int fieldIndex) {
  switch (fieldIndex) {
    case 0:
      return std::all_of(text.begin(), text.end(),
                         [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); })
                 ? 1
                 : 0;
    case 1:
      return text == reference ? 1 : 0;
    default:
      return 0;
  }
}
