#include "tools/replay/cabrillo_header.h"

#include <cstdint>
#include <initializer_list>

#include "platform/text.h"
#include "tools/replay/printable_ascii.h"
#include "tools/replay/word_wrap.h"

namespace {

constexpr std::size_t kHeaderLineMax = 75;
constexpr std::size_t kAddressLineMax = 45;
constexpr std::size_t kAddressLinesMax = 6;

// Splits at every occurrence of any of the markers; empty pieces are dropped.
std::vector<std::string> SplitAtMarkers(std::string_view text,
                                        std::initializer_list<std::string_view> markers) {
  std::vector<std::string> pieces;
  std::string piece;
  std::size_t i = 0;
  auto flush = [&] {
    const std::string_view t = TrimWhiteSpace(piece);
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
    const std::string text(TrimWhiteSpace(PrintableAscii(value)));
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

std::string FormatCabrilloHeader(const CabrilloHeader& h, std::string_view createdBy,
                                 std::string_view categoryMode, std::vector<std::string>& notes) {
  std::string out;
  HeaderWriter header(out, notes);
  header.Line("START-OF-LOG", "3.0");
  header.Single("CREATED-BY", createdBy);
  // The log is always of this contest, whatever the form's contest field says.
  header.Line("CONTEST", TrimWhiteSpace(header_default::kContest));
  header.Single("CALLSIGN", ToUpperAscii(h.m_callsign));
  header.Single("LOCATION", h.m_location.empty() ? header_default::kLocation : h.m_location);
  // The categories the header form starts from; only the mode is worked out
  // from the log.
  header.Line("CATEGORY-OPERATOR", header_default::kCatOperator);
  header.Line("CATEGORY-ASSISTED", header_default::kCatAssisted);
  header.Line("CATEGORY-BAND", header_default::kCatBand);
  header.Line("CATEGORY-MODE", categoryMode);
  header.Line("CATEGORY-POWER", header_default::kCatPower);
  header.Line("CATEGORY-STATION", header_default::kCatStation);
  header.Line("CATEGORY-TRANSMITTER", header_default::kCatTransmitter);
  header.Single("CLAIMED-SCORE", h.m_claimed);
  header.Single("CLUB", h.m_club);
  header.Repeated("OPERATORS", {h.m_operators.empty() ? h.m_callsign : h.m_operators},
                  kHeaderLineMax);
  header.Single("NAME", h.m_name);
  header.Single("EMAIL", h.m_email);
  // The form keeps an address typed on one line with "<CR>" where a new line
  // begins; "<LF>" marks nothing of its own.
  header.Repeated("ADDRESS", SplitAtMarkers(h.m_address, {"<CR><LF>", "<CR>", "<LF>"}),
                  kAddressLineMax, kAddressLinesMax);
  header.Single("ADDRESS-CITY", h.m_addressCity);
  header.Single("ADDRESS-STATE-PROVINCE", h.m_addressState);
  header.Single("ADDRESS-POSTALCODE", h.m_addressPostalCode);
  header.Single("ADDRESS-COUNTRY", h.m_addressCountry);
  header.Repeated("SOAPBOX", SplitAtMarkers(h.m_soapbox, {"<CR><LF>", "<CR>", "<LF>"}),
                  kHeaderLineMax);
  return out;
}
