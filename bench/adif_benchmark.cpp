// How reading an ADIF log costs as it grows, for stats-replay: the reader and
// the mapping of every record to the host's contact, on synthetic logs of
// 1,000 to 100,000 records in three shapes: records closed by <EOR> with one
// field given twice (as RUMlogNG writes them), the same records with no <EOR>
// at all, and a single record of as many fields. The cost per record (or per
// field) must stay flat: reading is linear in the file.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tools/replay/adif.h"
#include "tools/replay/host_qso.h"

namespace {

std::string Records(int n, bool withEor) {
  std::string text = "<ADIF_VER:5>3.1.4 <PROGRAMID:5>bench <EOH>\n";
  for (int i = 0; i < n; ++i) {
    const std::string call = "Q" + std::to_string(i % 10) + "X" + std::to_string(i);
    const std::string serial = std::to_string(i + 1);
    text += "<CALL:" + std::to_string(call.size()) + ">" + call +
            " <QSO_DATE:8>20160213 <TIME_ON:6>120000 <BAND:3>20m <FREQ:8>14.08000"
            " <MODE:4>RTTY <RST_SENT:3>599 <RST_RCVD:3>599 <STX:1>1"
            " <CLUBLOG_QSO_UPLOAD_STATUS:1>M <CLUBLOG_QSO_UPLOAD_STATUS:1>M"
            " <SRX:" +
            std::to_string(serial.size()) + ">" + serial + " <NAME:4>Jos\xE9" +
            (withEor ? " <EOR>\n" : "\n");
  }
  return text;
}

// One record of n fields, every name different but a few.
std::string OneRecord(int n) {
  std::string text = "<CALL:4>K1AB";
  for (int i = 0; i < n; ++i) {
    const std::string name =
        i % 100 == 99 ? "APP_X_" + std::to_string(i - 50) : "APP_X_" + std::to_string(i);
    text += " <" + name + ":1>v";
  }
  return text + " <EOR>\n";
}

void Read(benchmark::State& state, const std::string& text) {
  std::size_t records = 0;
  for (auto _ : state) {
    const AdifLog log = ParseAdif(text);
    std::vector<AdifWarning> warnings;
    HostContact q;
    for (const AdifRecord& r : log.records) {
      MapRecord(r, q, warnings);
    }
    records = log.records.size();
    benchmark::DoNotOptimize(warnings.data());
  }
  state.counters["records"] = static_cast<double>(records);
  // Seconds per record (or field), shown with an SI prefix: 1.2u is 1.2 us.
  state.counters["s_per_item"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RecordsWithEor(benchmark::State& state) {
  Read(state, Records(static_cast<int>(state.range(0)), true));
}

void BM_RecordsWithoutEor(benchmark::State& state) {
  Read(state, Records(static_cast<int>(state.range(0)), false));
}

void BM_OneRecordOfManyFields(benchmark::State& state) {
  Read(state, OneRecord(static_cast<int>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_RecordsWithEor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsWithoutEor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneRecordOfManyFields)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
