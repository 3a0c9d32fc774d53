// How a pass over the log costs as the log grows: the plug-in's store against
// the plain list-walking model, for synthetic logs of 1,000 to 100,000 QSOs.
// A pass is what the host does: reset, every QSO added, one result, then
// 1,000 call checks. Prints Google Benchmark's table, then per-QSO costs and
// the ratios the project's performance goals are stated in.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "model/reference_model.h"
#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "tools/common/host_arguments.h"

namespace {

const char* const kBands[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
const char* const kModes[] = {"BPSK31", "BPSK63", "HELL", "MFSK", "OLIVIA", "MT63", "RTTY",
                              "THROB",  "SSTV"};

// Mostly distinct calls, one in fifty repeats an earlier one (a dupe), about
// 2,000 distinct prefixes: a big contest log.
const std::vector<HostContact>& Log(int n) {
  static std::map<int, std::vector<HostContact>> logs;
  auto& log = logs[n];
  if (log.empty()) {
    for (int i = 0; i < n; ++i) {
      const int station = i % 50 == 49 ? i - 7 : i;
      HostContact q;
      q.call = "Q" + std::to_string(station % 10) + "X" + std::to_string(station);
      q.band = kBands[station % 6];
      q.mode = kModes[(station / 6) % 9];
      q.prefix = "Q" + std::to_string(station % 2000);
      q.rstSent = q.rstRcvd = "599";
      q.nrSent = "1";
      q.nrRcvd = std::to_string(i + 1);
      q.hertz = 14080000u + static_cast<unsigned>(i % 1000);
      q.time = COleDateTime{42413.0 + i / 86400.0, COleDateTime::valid};
      log.push_back(q);
    }
  }
  return log;
}

COleDateTime Day(double d) {
  COleDateTime t;
  t.m_dt = d;
  return t;
}

void PluginPass(const std::vector<HostContact>& log) {
  COleDateTime start = Day(42413.0);
  COleDateTime end = Day(42414.0);
  ResetStats0("", 0, "Q1OWN", &start, &end, "", "", "", "", "", "", "", "", "", "", 0, 0, 0, 0.0,
              0.0, "", "", "");
  for (const HostContact& q : log) {
    CallAddData(&AddData0, "Q1OWN", q);
  }
  benchmark::DoNotOptimize(GetResult0(nullptr));
}

int PluginChecks(const std::vector<HostContact>& log) {
  int sum = 0;
  for (int i = 0; i < 1000; ++i) {
    const HostContact& q = log[(static_cast<std::size_t>(i) * 7919u) % log.size()];
    sum += CheckCall0(q.call.c_str(), 0, 0, q.mode.c_str(), "", "", "", "", "", "", "", "",
                      q.prefix.c_str(), "599", 0, 0, 0, 0.0, 0.0, "", "", "", "", "",
                      q.band.c_str(), q.band.c_str(), nullptr, nullptr);
  }
  return sum;
}

void ModelPass(ReferenceModel& model, const std::vector<HostContact>& log) {
  model.Reset(0, "Q1OWN", Day(42413.0), Day(42414.0), "");
  for (const HostContact& q : log) {
    model.Add("Q1OWN", q);
  }
  benchmark::DoNotOptimize(model.Result());
}

int ModelChecks(const ReferenceModel& model, const std::vector<HostContact>& log) {
  int sum = 0;
  for (int i = 0; i < 1000; ++i) {
    const HostContact& q = log[(static_cast<std::size_t>(i) * 7919u) % log.size()];
    sum += model.Check(q.call, q.mode, q.prefix, "599", q.band.c_str(), q.band.c_str());
  }
  return sum;
}

void BM_PluginPass(benchmark::State& state) {
  const auto& log = Log(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    PluginPass(log);
  }
  state.counters["ns_per_qso"] = benchmark::Counter(
      static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}

void BM_PluginCallCheck(benchmark::State& state) {
  const auto& log = Log(static_cast<int>(state.range(0)));
  PluginPass(log);
  for (auto _ : state) {
    benchmark::DoNotOptimize(PluginChecks(log));
  }
}

void BM_ModelPass(benchmark::State& state) {
  const auto& log = Log(static_cast<int>(state.range(0)));
  ReferenceModel model;
  for (auto _ : state) {
    ModelPass(model, log);
  }
}

void BM_ModelCallCheck(benchmark::State& state) {
  const auto& log = Log(static_cast<int>(state.range(0)));
  ReferenceModel model;
  ModelPass(model, log);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ModelChecks(model, log));
  }
}

BENCHMARK(BM_PluginPass)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PluginCallCheck)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModelPass)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelCallCheck)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Keeps each run's CPU time per iteration for the summary: CPU time, since
// wall time on a shared two-core machine says more about the neighbours.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      seconds_[run.benchmark_name()] =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  double Seconds(const std::string& name) const {
    auto it = seconds_.find(name);
    return it == seconds_.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  // The plug-in writes err.txt and its settings relative to the current
  // folder: run in a scratch folder.
  char dir[] = "/tmp/stats_bench_XXXXXX";
  if (mkdtemp(dir) == nullptr || chdir(dir) != 0) {
    std::perror("scratch folder");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  auto pass = [&](const char* who, int n) {
    return reporter.Seconds(std::string("BM_") + who + "Pass/" + std::to_string(n) +
                            (std::string(who) == "Model" ? "/iterations:1" : ""));
  };
  auto check = [&](const char* who, int n) {
    return reporter.Seconds(std::string("BM_") + who + "CallCheck/" + std::to_string(n)) / 1000.0;
  };
  std::printf("\n%-8s %16s %16s %10s %18s %18s\n", "QSOs", "plugin ns/QSO", "model ns/QSO",
              "speed-up", "plugin check ns", "model check ns");
  for (int n : {1000, 10000, 100000}) {
    const double p = pass("Plugin", n);
    const double m = pass("Model", n);
    std::printf("%-8d %16.1f %16.1f %9.1fx %18.1f %18.1f\n", n, p / n * 1e9, m / n * 1e9,
                p > 0 ? m / p : 0.0, check("Plugin", n) * 1e9, check("Model", n) * 1e9);
  }
  const double perQso1k = pass("Plugin", 1000) / 1000;
  const double perQso100k = pass("Plugin", 100000) / 100000;
  std::printf("\npass at 100,000 QSOs: %.0fx faster than the model (goal: at least 100x)\n",
              pass("Model", 100000) / pass("Plugin", 100000));
  std::printf("cost per QSO, 100,000 vs 1,000: %.2fx (goal: at most 1.5x)\n",
              perQso100k / perQso1k);
  std::printf("call check, 100,000 vs 1,000 QSOs: %.2fx (goal: at most 2x)\n",
              check("Plugin", 100000) / check("Plugin", 1000));
  return 0;
}
