#include "scoring/call_check.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "scoring/qso_store.h"

bool BandsDisagree(const char* band, const char* otherBand) {
  if (band == nullptr || otherBand == nullptr) {
    return false;
  }
  const std::size_t n = std::strlen(band);
  if (n != std::strlen(otherBand)) {
    return true;
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(band[i])) !=
        std::tolower(static_cast<unsigned char>(otherBand[i]))) {
      return true;
    }
  }
  return false;
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
