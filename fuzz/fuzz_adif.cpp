// The replay command's ADIF reader and field mapping on any bytes: lengths
// past the end, missing <EOR>, fields given twice, nested or broken specifiers,
// binary data. The reader must never crash, and what it returns must hold
// together: each name once in a record, every warning of some kind.
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/replay/adif.h"
#include "tools/replay/host_qso.h"
#include "tools/replay/replay_summary.h"
#include "tools/common/wpx_prefix.h"

namespace {

void Check(bool ok) {
  if (!ok) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const AdifLog log = ParseAdif(bytes);
  int previous = 0;
  for (const AdifRecord& record : log.records) {
    Check(record.number > previous);
    previous = record.number;
    std::set<std::string_view> names;
    for (const AdifField& field : record.fields) {
      Check(field.value.size() <= size);
      Check(names.insert(field.name).second);
      Check(record.Find(field.name) == &field.value);
    }
    HostContact qso;
    std::vector<AdifWarning> warnings;
    MapRecord(record, qso, warnings);
    for (const AdifWarning& w : warnings) {
      Check(!FormatWarning(w).empty() && !w.kind.empty());
    }
    if (const std::string* call = record.Find("CALL")) {
      WpxPrefix(*call);
    }
  }
  for (const AdifWarning& w : log.warnings) {
    Check(!w.kind.empty());
  }
  Check(WarningLines(log.warnings).size() <= log.warnings.size());
  OwnCallOf(log);
  return 0;
}
