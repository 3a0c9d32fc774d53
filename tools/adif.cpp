// ADIF tagged-text reader. Whether the fields before the first `<EOH>` or
// `<EOR>` are a header is known only when one of the two arrives, so they are
// collected as a pending unit and their warnings renumbered once it is known.
#include "tools/adif.h"

#include <cstddef>
#include <string>
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
        Warn(LineAt(lt), "a '<' without a closing '>'; the rest of the file is ignored");
        pos_ = s_.size();
        break;
      }
      std::string_view specifier = s_.substr(lt + 1, gt - lt - 1);
      const std::size_t inner = specifier.rfind('<');
      if (inner != std::string_view::npos) {
        Warn(LineAt(lt), "a stray '<' is ignored");
        pos_ = lt + 1 + inner;
        continue;
      }
      pos_ = gt + 1;
      if (!Specifier(specifier, LineAt(lt))) {
        break;
      }
    }
    if (!pending_.empty()) {
      Warn(LineAt(s_.size()), "no <EOR> at the end of the file; the record is used as read");
      FinishRecord();
    }
    return std::move(log_);
  }

 private:
  // False when nothing more can be read.
  bool Specifier(std::string_view tag, int line) {
    const std::size_t colon = tag.find(':');
    const std::string name = ToUpperAscii(TrimWhiteSpace(tag.substr(0, colon)));
    if (colon == std::string_view::npos) {
      if (name == "EOR") {
        EndOfRecord(line);
      } else if (name == "EOH") {
        EndOfHeader(line);
      } else {
        Warn(line, "the tag <" + std::string(tag) + "> has no length; it is ignored");
      }
      return true;
    }
    std::string_view rest = tag.substr(colon + 1);
    const std::string_view lengthText = rest.substr(0, rest.find(':'));
    std::size_t length = 0;
    if (!ParseLength(lengthText, length)) {
      Warn(line, "the field " + name + " has the length '" + std::string(lengthText) +
                     "', which is not a number; the tag is ignored");
      return true;
    }
    const std::size_t left = s_.size() - pos_;
    if (length > left) {
      Warn(line, "the field " + name + " claims " + std::to_string(length) + " bytes but only " +
                     std::to_string(left) + " are left in the file; the field is dropped");
      pos_ = s_.size();
      return false;
    }
    std::string value(s_.substr(pos_, length));
    pos_ += length;
    if (name.empty()) {
      Warn(line, "a field without a name is ignored");
      return true;
    }
    AddField(name, std::move(value), line);
    return true;
  }

  void AddField(const std::string& name, std::string value, int line) {
    for (const AdifField& f : pending_) {
      if (f.name == name) {
        Warn(line, "a second " + name + " field before <EOR>; the record is taken to end there");
        FinishRecord();
        break;
      }
    }
    if (pending_.empty()) {
      pendingLine_ = line;
    }
    pending_.push_back(AdifField{name, std::move(value)});
  }

  void EndOfRecord(int line) {
    if (pending_.empty()) {
      pendingLine_ = line;
    }
    FinishRecord();
  }

  void EndOfHeader(int line) {
    if (headerSeen_ || !log_.records.empty()) {
      Warn(line, "an <EOH> after the header is ignored");
      return;
    }
    headerSeen_ = true;
    for (std::size_t i = unitWarnings_; i < log_.warnings.size(); ++i) {
      log_.warnings[i].record = 0;
    }
    log_.header = std::move(pending_);
    pending_.clear();
    unitWarnings_ = log_.warnings.size();
  }

  void FinishRecord() {
    AdifRecord r;
    r.number = CurrentNumber();
    r.line = pendingLine_;
    r.fields = std::move(pending_);
    pending_.clear();
    log_.records.push_back(std::move(r));
    unitWarnings_ = log_.warnings.size();
  }

  int CurrentNumber() const { return static_cast<int>(log_.records.size()) + 1; }

  void Warn(int line, std::string message) {
    log_.warnings.push_back(AdifWarning{CurrentNumber(), line, std::move(message)});
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
  std::vector<AdifField> pending_;
  int pendingLine_ = 0;
  bool headerSeen_ = false;
  std::size_t unitWarnings_ = 0;  // first warning about the pending unit
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
