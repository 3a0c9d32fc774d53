// A deliberately plain model of the scoring rules: one list walked first to
// last for every question, no index, nothing cached. It is the oracle of the
// randomized differential test and the baseline of the benchmark, so it shares
// no scoring code with the plug-in (only the date formatting).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/common/host_contact.h"

struct ModelQso : HostContact {
  int isDupe = 0;
};

class ReferenceModel {
 public:
  // What err.txt holds after every call so far (starts at the first reset).
  std::string errText;
  std::string resultText;
  std::string tableText;
  std::array<std::vector<std::string>, 7> prefixLists;
  int claimed = 0;

  void Reset(int reportFlag, const std::string& callsign, const COleDateTime& start,
             const COleDateTime& end, const std::string& modeWord);
  int Add(const std::string& ownCall, const HostContact& qso);
  int Remove(const std::string& call, const std::string& band);
  int Check(const std::string& call, const std::string& mode, const std::string& prefix,
            const std::string& exchange, const char* band, const char* otherBand) const;
  const std::string& Result();

  const std::vector<ModelQso>& qsos() const { return qsos_; }

 private:
  std::vector<ModelQso> qsos_;
  std::vector<std::string> bands_;
  std::string startText_, endText_, modeWord_, contestant_;
  int reportFlag_ = 0;
};
