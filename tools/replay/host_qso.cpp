// The host's view of an ADIF record. The band edges are those of the ADIF 3
// band enumeration; the mode names are those the plug-in's score columns know.
#include "tools/replay/host_qso.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string>

#include "platform/ole_date_time.h"
#include "platform/text.h"
#include "tools/common/contest_time.h"
#include "tools/common/wpx_prefix.h"

namespace {

struct BandEdges {
  std::string_view name;
  std::uint64_t lowHz;
  std::uint64_t highHz;
};

constexpr std::uint64_t kMHz = 1000000;
constexpr std::uint64_t kKHz = 1000;

constexpr BandEdges kBands[] = {
    {"2190m", 135700, 137800},
    {"630m", 472000, 479000},
    {"560m", 501000, 504000},
    {"160m", 1800 * kKHz, 2000 * kKHz},
    {"80m", 3500 * kKHz, 4000 * kKHz},
    {"60m", 5060 * kKHz, 5450 * kKHz},
    {"40m", 7000 * kKHz, 7300 * kKHz},
    {"30m", 10100 * kKHz, 10150 * kKHz},
    {"20m", 14000 * kKHz, 14350 * kKHz},
    {"17m", 18068 * kKHz, 18168 * kKHz},
    {"15m", 21000 * kKHz, 21450 * kKHz},
    {"12m", 24890 * kKHz, 24990 * kKHz},
    {"10m", 28000 * kKHz, 29700 * kKHz},
    {"8m", 40 * kMHz, 45 * kMHz},
    {"6m", 50 * kMHz, 54 * kMHz},
    {"5m", 54 * kMHz + 1, 69900 * kKHz},
    {"4m", 70 * kMHz, 71 * kMHz},
    {"2m", 144 * kMHz, 148 * kMHz},
    {"1.25m", 222 * kMHz, 225 * kMHz},
    {"70cm", 420 * kMHz, 450 * kMHz},
    {"33cm", 902 * kMHz, 928 * kMHz},
    {"23cm", 1240 * kMHz, 1300 * kMHz},
    {"13cm", 2300 * kMHz, 2450 * kMHz},
    {"9cm", 3300 * kMHz, 3500 * kMHz},
    {"6cm", 5650 * kMHz, 5925 * kMHz},
    {"3cm", 10000 * kMHz, 10500 * kMHz},
    {"1.25cm", 24000 * kMHz, 24250 * kMHz},
    {"6mm", 47000 * kMHz, 47200 * kMHz},
    {"4mm", 75500 * kMHz, 81000 * kMHz},
    {"2.5mm", 119980 * kMHz, 123000 * kMHz},
    {"2mm", 134000 * kMHz, 149000 * kMHz},
    {"1mm", 241000 * kMHz, 250000 * kMHz},
    {"submm", 300000 * kMHz, 7500000 * kMHz},
};

// Modes that older ADIF versions named on their own and ADIF 3 files as a
// submode of a family: read as that family and submode.
struct LegacyMode {
  std::string_view legacy;
  std::string_view family;
};

constexpr LegacyMode kLegacyModes[] = {
    {"PSK31", "PSK"},   {"PSK63", "PSK"},    {"PSK125", "PSK"}, {"FMHELL", "HELL"},
    {"HELL80", "HELL"}, {"PSKHELL", "HELL"}, {"HFSK", "HELL"},  {"MFSK8", "MFSK"},
    {"MFSK16", "MFSK"}, {"THRBX", "THRB"},
};

// The PSK submodes the plug-in scores, with the host's names for them.
struct HostPsk {
  std::string_view submode;
  std::string_view hostMode;
};

constexpr HostPsk kHostPsk[] = {
    {"PSK31", "BPSK31"},
    {"PSK63", "BPSK63"},
    {"PSK125", "BPSK125"},
};

std::string Field(const AdifRecord& r, std::string_view name) {
  const std::string* v = r.Find(name);
  return v != nullptr ? std::string(TrimWhiteSpace(*v)) : std::string();
}

// The first of two fields that is present and not blank.
std::string FirstOf(const AdifRecord& r, std::string_view first, std::string_view second) {
  std::string v = Field(r, first);
  return v.empty() ? Field(r, second) : v;
}

void Warn(std::vector<AdifWarning>& warnings, const AdifRecord& r, std::string kind,
          std::string message) {
  warnings.push_back(AdifWarning{r.number, r.line, std::move(message), std::move(kind)});
}

const BandEdges* BandNamed(std::string_view name) {
  for (const BandEdges& b : kBands) {
    if (b.name == name) {
      return &b;
    }
  }
  return nullptr;
}

bool Holds(const BandEdges& band, std::uint64_t hertz) {
  return hertz >= band.lowHz && hertz <= band.highHz;
}

// The frequency and band the host is given. BAND wins over FREQ: a FREQ
// outside the band BAND names is not passed, and one that lies on a band only
// when read as hertz is named as such, since some programs (Cloudlog 0.1)
// write hertz where ADIF wants MHz.
void MapFrequencyAndBand(const AdifRecord& r, std::vector<AdifWarning>& warnings,
                         HostContact& out) {
  const std::string freq = Field(r, "FREQ");
  std::string band = Field(r, "BAND");
  for (char& c : band) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  std::uint64_t hertz = 0;
  if (!freq.empty()) {
    if (const std::optional<std::uint64_t> parsed = ParseFrequencyHz(freq)) {
      hertz = *parsed;
    } else {
      Warn(warnings, r, "FREQ not a number",
           "FREQ '" + freq + "' is not a number; no frequency is passed");
    }
  }
  const BandEdges* named = BandNamed(band);
  if (hertz != 0 && named != nullptr && !Holds(*named, hertz)) {
    // A whole number that lies on a band only when read as hertz.
    if (freq.find('.') == std::string::npos && !BandOfFrequency(hertz / kMHz).empty()) {
      Warn(warnings, r, "FREQ in hertz",
           "FREQ " + freq + " is a frequency in hertz, not in MHz as ADIF gives it; BAND " + band +
               " is used and no frequency is passed");
    } else {
      Warn(warnings, r, "FREQ outside BAND",
           "FREQ " + freq + " MHz lies outside BAND " + band +
               "; BAND is used and no frequency is passed");
    }
    hertz = 0;
  } else if (hertz > std::numeric_limits<unsigned int>::max()) {
    Warn(warnings, r, "FREQ above what the host passes",
         "FREQ " + freq + " MHz is beyond what the host passes in hertz; no frequency is passed");
  } else {
    out.hertz = static_cast<unsigned int>(hertz);
  }
  if (!band.empty()) {
    out.band = band;
    return;
  }
  if (hertz == 0) {
    Warn(warnings, r, "no BAND and no usable FREQ",
         "no BAND and no usable FREQ; the band is left empty");
    return;
  }
  out.band = BandOfFrequency(hertz);
  if (out.band.empty()) {
    Warn(warnings, r, "FREQ in no band",
         "no BAND, and FREQ " + freq + " MHz lies in no band; the band is left empty");
  }
}

void MapTime(const AdifRecord& r, std::vector<AdifWarning>& warnings, HostContact& out) {
  const std::string date = Field(r, "QSO_DATE");
  const std::optional<long> day = DayNumberOfDate(date);
  if (!day) {
    if (date.empty()) {
      Warn(warnings, r, "no QSO_DATE", "no QSO_DATE; the time is passed as invalid");
    } else {
      Warn(warnings, r, "QSO_DATE not a date",
           "QSO_DATE '" + date + "' is not a date (YYYYMMDD); the time is passed as invalid");
    }
    out.time = COleDateTime{0.0, COleDateTime::invalid};
    return;
  }
  const std::string time = Field(r, "TIME_ON");
  std::optional<long> seconds = SecondsOfTime(time);
  if (!seconds) {
    if (time.empty()) {
      Warn(warnings, r, "no TIME_ON", "no TIME_ON; 0000 is used");
    } else {
      Warn(warnings, r, "TIME_ON not a time",
           "TIME_ON '" + time + "' is not a time (HHMM or HHMMSS); 0000 is used");
    }
    seconds = 0;
  }
  out.time = HostDateTime(*day, *seconds);
}

}  // namespace

std::optional<std::uint64_t> ParseFrequencyHz(std::string_view mhz) {
  mhz = TrimWhiteSpace(mhz);
  const std::size_t point = mhz.find('.');
  const std::string_view whole = mhz.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : mhz.substr(point + 1);
  if (whole.empty() && fraction.empty()) {
    return std::nullopt;
  }
  // Thirteen digits of MHz still fit in 64 bits of hertz with room to round.
  if ((!whole.empty() && !AllDigits(whole)) || (!fraction.empty() && !AllDigits(fraction)) ||
      whole.size() > 13) {
    return std::nullopt;
  }
  std::uint64_t hertz = 0;
  for (char c : whole) {
    hertz = hertz * 10 + static_cast<std::uint64_t>(c - '0');
  }
  for (std::size_t i = 0; i < 6; ++i) {
    hertz = hertz * 10 + (i < fraction.size() ? static_cast<std::uint64_t>(fraction[i] - '0') : 0);
  }
  if (fraction.size() > 6 && fraction[6] >= '5') {
    ++hertz;
  }
  return hertz;
}

std::string BandOfFrequency(std::uint64_t hertz) {
  for (const BandEdges& b : kBands) {
    if (hertz >= b.lowHz && hertz <= b.highHz) {
      return std::string(b.name);
    }
  }
  return std::string();
}

std::string HostModeOfAdif(std::string_view modeText, std::string_view submodeText) {
  std::string mode = ToUpperAscii(TrimWhiteSpace(modeText));
  std::string submode = ToUpperAscii(TrimWhiteSpace(submodeText));
  for (const LegacyMode& l : kLegacyModes) {
    if (mode == l.legacy) {
      submode = mode;
      mode = std::string(l.family);
      break;
    }
  }
  if (mode == "PSK") {
    for (const HostPsk& p : kHostPsk) {
      if (submode == p.submode) {
        return std::string(p.hostMode);
      }
    }
    // A PSK variant the contest does not score keeps its own name.
    return submode.empty() ? mode : submode;
  }
  if (mode == "THRB") {
    return "THROB";
  }
  return mode;
}

bool MapRecord(const AdifRecord& r, HostContact& out, std::vector<AdifWarning>& warnings) {
  out = HostContact();
  out.call = ToUpperAscii(Field(r, "CALL"));
  if (out.call.empty()) {
    Warn(warnings, r, "no CALL", "no CALL; the record is skipped");
    return false;
  }
  MapFrequencyAndBand(r, warnings, out);
  MapTime(r, warnings, out);

  const std::string mode = Field(r, "MODE");
  if (mode.empty()) {
    Warn(warnings, r, "no MODE", "no MODE; an empty mode is passed");
  }
  out.mode = HostModeOfAdif(mode, Field(r, "SUBMODE"));
  out.rstSent = Field(r, "RST_SENT");
  out.rstRcvd = Field(r, "RST_RCVD");
  out.nrSent = FirstOf(r, "STX", "STX_STRING");
  out.nrRcvd = FirstOf(r, "SRX", "SRX_STRING");
  const std::string pfx = ToUpperAscii(Field(r, "PFX"));
  out.prefix = pfx.empty() ? WpxPrefix(out.call) : pfx;
  return true;
}

std::string OwnCallOf(const AdifLog& log) {
  for (std::string_view key :
       {std::string_view("STATION_CALLSIGN"), std::string_view("OPERATOR")}) {
    for (const AdifRecord& r : log.records) {
      std::string v = ToUpperAscii(Field(r, key));
      if (!v.empty()) {
        return v;
      }
    }
    for (const AdifField& f : log.header) {
      if (f.name == key && !TrimWhiteSpace(f.value).empty()) {
        return ToUpperAscii(TrimWhiteSpace(f.value));
      }
    }
  }
  return std::string();
}
