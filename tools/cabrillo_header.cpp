#include "tools/cabrillo_header.h"

#include <cstdint>
#include <initializer_list>

#include "tools/printable_ascii.h"
#include "tools/text.h"
#include "tools/word_wrap.h"

namespace {

constexpr std::size_t kHeaderLineMax = 75;
constexpr std::size_t kAddressLineMax = 45;
constexpr std::size_t kAddressLinesMax = 6;

// The categories the header form starts from; only the mode is worked out from
// the log.
constexpr char kContest[] = "KOVA-BRAWLCUP";
constexpr char kCategoryOperator[] = "SINGLE-OP";
constexpr char kCategoryAssisted[] = "NON-ASSISTED";
constexpr char kCategoryBand[] = "ALL";
constexpr char kCategoryPower[] = "HIGH";
constexpr char kCategoryStation[] = "FIXED";
constexpr char kCategoryTransmitter[] = "ONE";

// Splits at every occurrence of any of the markers; empty pieces are dropped.
std::vector<std::string> SplitAtMarkers(std::string_view text,
                                        std::initializer_list<std::string_view> markers) {
  std::vector<std::string> pieces;
  std::string piece;
  std::size_t i = 0;
  auto flush = [&] {
    const std::string_view t = Trim(piece);
    if (!t.empty()) {
      pieces.emplace_back(t);
    }
    piece.clear();
  };
  while (i < text.size()) {
    bool marker = false;
    for (std::string_view m : markers) {
      if (text.compare(i, m.size(), m) == 0) {
        flush();
        i += m.size();
        marker = true;
        break;
      }
    }
    if (!marker) {
      piece += text[i++];
    }
  }
  flush();
  return pieces;
}

class HeaderWriter {
 public:
  HeaderWriter(std::string& out, std::vector<std::string>& notes) : out_(out), notes_(notes) {}

  // "TAG: value", cut at a word to the line limit (with a note) when too long;
  // nothing for an empty value.
  void Single(std::string_view tag, std::string_view value) {
    const std::string text(Trim(PrintableAscii(value)));
    if (text.empty()) {
      return;
    }
    const std::size_t width = kHeaderLineMax - tag.size() - 2;
    if (text.size() <= width) {
      Line(tag, text);
      return;
    }
    const std::string kept = WrapWords(text, width).front();
    notes_.push_back(std::string(tag) + " is longer than a Cabrillo header line allows; only '" +
                     kept + "' is written");
    Line(tag, kept);
  }

  // "TAG: value" lines, the values wrapped at words, at most `maxLines` of them
  // (with a note on what is left out).
  void Repeated(std::string_view tag, const std::vector<std::string>& values, std::size_t lineMax,
                std::size_t maxLines = SIZE_MAX) {
    std::vector<std::string> lines;
    for (const std::string& value : values) {
      for (std::string& piece : WrapWords(PrintableAscii(value), lineMax - tag.size() - 2)) {
        lines.push_back(std::move(piece));
      }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i == maxLines) {
        notes_.push_back(std::string(tag) + " has more lines than Cabrillo allows; '" + lines[i] +
                         "' and what follows are left out");
        break;
      }
      Line(tag, lines[i]);
    }
  }

  void Line(std::string_view tag, std::string_view value) {
    out_ += CabrilloHeaderLine(tag, value);
  }

 private:
  std::string& out_;
  std::vector<std::string>& notes_;
};

}  // namespace

std::string CabrilloHeaderLine(std::string_view tag, std::string_view value) {
  std::string line(tag);
  line += ':';
  if (!value.empty()) {
    line += ' ';
    line += value;
  }
  line += "\r\n";
  return line;
}

std::string FormatCabrilloHeader(const CabrilloHeaderValues& values, std::string_view categoryMode,
                                 std::vector<std::string>& notes) {
  const CabrilloSettings& s = values.settings;
  std::string out;
  HeaderWriter header(out, notes);
  header.Line("START-OF-LOG", "3.0");
  header.Single("CREATED-BY", values.createdBy);
  header.Line("CONTEST", kContest);
  header.Single("CALLSIGN", Upper(values.callsign));
  header.Single("LOCATION", s.location.empty() ? kCabrilloDefaultLocation : s.location);
  header.Line("CATEGORY-OPERATOR", kCategoryOperator);
  header.Line("CATEGORY-ASSISTED", kCategoryAssisted);
  header.Line("CATEGORY-BAND", kCategoryBand);
  header.Line("CATEGORY-MODE", categoryMode);
  header.Line("CATEGORY-POWER", kCategoryPower);
  header.Line("CATEGORY-STATION", kCategoryStation);
  header.Line("CATEGORY-TRANSMITTER", kCategoryTransmitter);
  header.Single("CLAIMED-SCORE", values.claimedScore);
  header.Single("CLUB", s.club);
  header.Repeated("OPERATORS", {s.operators.empty() ? values.callsign : s.operators},
                  kHeaderLineMax);
  header.Single("NAME", s.name);
  header.Single("EMAIL", s.email);
  // The form keeps an address typed on one line with "<CR>" where a new line
  // begins; "<LF>" marks nothing of its own.
  header.Repeated("ADDRESS", SplitAtMarkers(s.address, {"<CR><LF>", "<CR>", "<LF>"}),
                  kAddressLineMax, kAddressLinesMax);
  header.Single("ADDRESS-CITY", s.addressCity);
  header.Single("ADDRESS-STATE-PROVINCE", s.addressState);
  header.Single("ADDRESS-POSTALCODE", s.addressPostalCode);
  header.Single("ADDRESS-COUNTRY", s.addressCountry);
  header.Repeated("SOAPBOX", SplitAtMarkers(s.soapbox, {"<CR><LF>", "<CR>", "<LF>"}),
                  kHeaderLineMax);

  return out;
}
