// ADIF tagged-text reader in one pass. Two things are known only later than
// the fields they concern: whether the fields before the first <EOH> or <EOR>
// are a header (known when one of the two arrives), and whether the file has
// any <EOR> at all (known at its end). So the fields are kept pending until a
// record ends, with the warnings given about them, and placed once it is
// known where they belong.
#include "tools/replay/adif.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/text.h"

namespace {

// Digits only; false for anything else, the empty text and values too large to
// be the length of any file this reader is given.
bool ParseLength(std::string_view text, std::size_t& out) {
  text = TrimWhiteSpace(text);
  if (text.empty() || text.size() > 12) {
    return false;
  }
  std::size_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
    value = value * 10 + static_cast<std::size_t>(c - '0');
  }
  out = value;
  return true;
}

bool IsBlank(std::string_view text) { return TrimWhiteSpace(text).empty(); }

// "A", "A and B", "A, B and C"; past five names, "A, B, C, D, E and 7 more".
std::string JoinNames(const std::vector<std::string_view>& names) {
  constexpr std::size_t kShown = 5;
  const std::size_t shown = names.size() > kShown + 1 ? kShown : names.size();
  std::string text;
  for (std::size_t i = 0; i < shown; ++i) {
    if (i > 0) {
      text += i + 1 == names.size() ? " and " : ", ";
    }
    text += names[i];
  }
  if (shown < names.size()) {
    text += " and " + std::to_string(names.size() - shown) + " more";
  }
  return text;
}

struct PendingField {
  std::string name;
  std::string value;
  int line = 0;
};

// Records up to this many fields look for a repeated name by comparing with
// each earlier one; longer ones (a stranger's file may hold one record of a
// million fields) through a hash table, so that the cost stays linear.
constexpr std::size_t kFieldsComparedDirectly = 32;

class Parser {
 public:
  explicit Parser(std::string_view bytes) : s_(bytes) {}

  AdifLog Run() {
    while (pos_ < s_.size()) {
      const std::size_t lt = s_.find('<', pos_);
      if (lt == std::string_view::npos) {
        break;
      }
      const std::size_t gt = s_.find('>', lt + 1);
      if (gt == std::string_view::npos) {
        Warn(LineAt(lt), "a '<' without a closing '>'; the rest of the file is ignored",
             "unclosed tag");
        break;
      }
      std::string_view specifier = s_.substr(lt + 1, gt - lt - 1);
      const std::size_t inner = specifier.rfind('<');
      if (inner != std::string_view::npos) {
        Warn(LineAt(lt), "a stray '<' is ignored", "stray '<'");
        pos_ = lt + 1 + inner;
        continue;
      }
      pos_ = gt + 1;
      if (!Specifier(specifier, LineAt(lt))) {
        break;
      }
    }
    if (!pending_.empty()) {
      if (!sawEor_ && SplitWithoutEor()) {
        return std::move(log_);
      }
      Warn(LineAt(s_.size()), "no <EOR> at the end of the file; the record is used as read",
           "no <EOR> at the end");
      FinishRecord(0, pending_.size(), CurrentNumber());
      pending_.clear();
    }
    return std::move(log_);
  }

 private:
  // False when nothing more can be read.
  bool Specifier(std::string_view tag, int line) {
    const std::size_t colon = tag.find(':');
    std::string name = ToUpperAscii(TrimWhiteSpace(tag.substr(0, colon)));
    if (colon == std::string_view::npos) {
      if (name == "EOR") {
        EndOfRecord(line);
      } else if (name == "EOH") {
        EndOfHeader(line);
      } else {
        Warn(line, "the tag <" + std::string(tag) + "> has no length; it is ignored",
             "tag without length");
      }
      return true;
    }
    std::string_view rest = tag.substr(colon + 1);
    const std::string_view lengthText = rest.substr(0, rest.find(':'));
    std::size_t length = 0;
    if (!ParseLength(lengthText, length)) {
      Warn(line,
           "the field " + name + " has the length '" + std::string(lengthText) +
               "', which is not a number; the tag is ignored",
           "length not a number");
      return true;
    }
    const std::size_t left = s_.size() - pos_;
    if (length > left) {
      Warn(line,
           "the field " + name + " claims " + std::to_string(length) + " bytes but only " +
               std::to_string(left) + " are left in the file; the field is dropped",
           "field past the end of the file");
      pos_ = s_.size();
      return false;
    }
    std::string value(s_.substr(pos_, length));
    pos_ += length;
    if (name.empty()) {
      Warn(line, "a field without a name is ignored", "field without a name");
      return true;
    }
    if (pending_.empty()) {
      pendingLine_ = line;
    }
    pending_.push_back(PendingField{std::move(name), std::move(value), line});
    return true;
  }

  void EndOfRecord(int line) {
    sawEor_ = true;
    if (pending_.empty()) {
      pendingLine_ = line;
    }
    FinishRecord(0, pending_.size(), CurrentNumber());
    pending_.clear();
    unitWarnings_.clear();
  }

  void EndOfHeader(int line) {
    if (headerSeen_ || !log_.records.empty()) {
      Warn(line, "an <EOH> after the header is ignored", "<EOH> after the header");
      return;
    }
    headerSeen_ = true;
    for (const auto& [warning, fields] : unitWarnings_) {
      log_.warnings[warning].record = 0;
    }
    unitWarnings_.clear();
    for (PendingField& f : pending_) {
      log_.header.push_back(AdifField{std::move(f.name), std::move(f.value)});
    }
    pending_.clear();
  }

  // In a file without <EOR>, the pending fields are the whole log: each record
  // ends where the name of its first field comes again. False when it never
  // does (one record). Said once, where it first happens; the warnings met on
  // the way go to the record they were met in.
  bool SplitWithoutEor() {
    std::vector<std::size_t> starts = {0};
    for (std::size_t i = 1; i < pending_.size(); ++i) {
      if (pending_[i].name == pending_.front().name) {
        starts.push_back(i);
      }
    }
    if (starts.size() == 1) {
      return false;
    }
    const int first = CurrentNumber();
    const std::size_t before = log_.warnings.size();
    for (const auto& [warning, fields] : unitWarnings_) {
      const std::size_t field = fields == 0 ? 0 : fields - 1;
      const auto chunk = std::upper_bound(starts.begin(), starts.end(), field) - starts.begin() - 1;
      log_.warnings[warning].record = first + static_cast<int>(chunk);
    }
    log_.warnings.push_back(
        AdifWarning{first, pending_[starts[1]].line,
                    "the file has no <EOR>; each record is taken to end where its first field (" +
                        pending_.front().name + ") comes again",
                    "no <EOR> in the file"});
    starts.push_back(pending_.size());
    for (std::size_t c = 0; c + 1 < starts.size(); ++c) {
      pendingLine_ = pending_[starts[c]].line;
      FinishRecord(starts[c], starts[c + 1], first + static_cast<int>(c));
    }
    pending_.clear();
    // By record, then line, as if the records had been closed by <EOR>.
    const std::size_t unitStart = unitWarnings_.empty() ? before : unitWarnings_.front().first;
    std::stable_sort(log_.warnings.begin() + static_cast<std::ptrdiff_t>(unitStart),
                     log_.warnings.end(), [](const AdifWarning& a, const AdifWarning& b) {
                       return a.record != b.record ? a.record < b.record : a.line < b.line;
                     });
    return true;
  }

  // Pending fields [from, to) become one record, each name once: the first
  // value that is not blank counts. One warning names the fields given twice.
  void FinishRecord(std::size_t from, std::size_t to, int number) {
    AdifRecord r;
    r.number = number;
    r.line = pendingLine_;
    r.fields.reserve(to - from);
    // Names are viewed in r.fields, reserved for the whole record so that its
    // strings never move.
    std::unordered_map<std::string_view, std::size_t> index;  // long records only
    const bool hashed = to - from > kFieldsComparedDirectly;
    if (hashed) {
      index.reserve(to - from);
    }
    std::vector<bool> givenTwice;
    std::vector<std::string_view> repeated;
    int repeatLine = 0;
    for (std::size_t i = from; i < to; ++i) {
      PendingField& f = pending_[i];
      std::size_t place = r.fields.size();
      if (hashed) {
        const auto found = index.find(f.name);
        place = found == index.end() ? place : found->second;
      } else {
        for (std::size_t k = 0; k < r.fields.size(); ++k) {
          if (r.fields[k].name == f.name) {
            place = k;
            break;
          }
        }
      }
      if (place == r.fields.size()) {
        r.fields.push_back(AdifField{std::move(f.name), std::move(f.value)});
        givenTwice.push_back(false);
        if (hashed) {
          index.emplace(r.fields.back().name, place);
        }
        continue;
      }
      AdifField& kept = r.fields[place];
      if (!givenTwice[place]) {
        givenTwice[place] = true;
        repeated.push_back(kept.name);
        repeatLine = repeatLine == 0 ? f.line : repeatLine;
      }
      if (IsBlank(kept.value) && !IsBlank(f.value)) {
        kept.value = std::move(f.value);
      }
    }
    if (!repeated.empty()) {
      const bool one = repeated.size() == 1;
      std::string message = JoinNames(repeated) + (one ? " is" : " are") +
                            " given more than once; the first value" + (one ? "" : " of each") +
                            " that is not blank is used";
      if (std::find(repeated.begin(), repeated.end(), "CALL") != repeated.end()) {
        message += " (two contacts with no <EOR> between them?)";
      }
      std::string kind = JoinNames(repeated) + " given more than once";
      log_.warnings.push_back(AdifWarning{number, repeatLine, std::move(message), std::move(kind)});
    }
    log_.records.push_back(std::move(r));
  }

  int CurrentNumber() const { return static_cast<int>(log_.records.size()) + 1; }

  void Warn(int line, std::string message, std::string kind) {
    if (!sawEor_) {
      unitWarnings_.emplace_back(log_.warnings.size(), pending_.size());
    }
    log_.warnings.push_back(
        AdifWarning{CurrentNumber(), line, std::move(message), std::move(kind)});
  }

  // Lines are asked for at increasing positions only, so one forward scan
  // serves the whole file.
  int LineAt(std::size_t p) {
    while (lineScan_ < p && lineScan_ < s_.size()) {
      if (s_[lineScan_] == '\n') {
        ++line_;
      }
      ++lineScan_;
    }
    return line_;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::size_t lineScan_ = 0;
  int line_ = 1;

  AdifLog log_;
  std::vector<PendingField> pending_;  // the header or record being read
  int pendingLine_ = 0;
  bool headerSeen_ = false;
  bool sawEor_ = false;
  // Until the first <EOR>: each warning about the pending fields (its place in
  // log_.warnings) and how many fields were pending when it was given, so that
  // an <EOH> can give them to the header and a file without <EOR> to the
  // record they fall in.
  std::vector<std::pair<std::size_t, std::size_t>> unitWarnings_;
};

}  // namespace

const std::string* AdifRecord::Find(std::string_view name) const {
  const std::string wanted = ToUpperAscii(name);
  for (const AdifField& f : fields) {
    if (f.name == wanted) {
      return &f.value;
    }
  }
  return nullptr;
}

std::string FormatWarning(const AdifWarning& warning) {
  std::string where =
      warning.record == 0 ? std::string("header") : "record " + std::to_string(warning.record);
  return where + " (line " + std::to_string(warning.line) + "): " + warning.message;
}

AdifLog ParseAdif(std::string_view bytes) { return Parser(bytes).Run(); }
