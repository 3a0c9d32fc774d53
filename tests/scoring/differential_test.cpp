// Thousands of random host sessions, each played through the exports and
// through the plain reference model; every answer, result text, prefix list,
// claimed score and err.txt must be identical.
#include <random>

#include "model/reference_model.h"
#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "test_support.h"

namespace {

// Few distinct values, so that dupes, shared prefixes, refusals and odd band
// names all come up often.
const char* const kCalls[] = {"Q2AA", "Q3BB", "Q4CC", "q2aa", ""};
const char* const kBands[] = {"160m", "80m", "40m", "20m", "15m", "10m",
                              "6m",   "30m", "17m", "20M", "70cm", "m", "0m"};
const char* const kModes[] = {"BPSK31", "BPSK63", "BPSK125", "HELL", "MFSK", "OLIVIA", "MT63",
                              "RTTY",   "THROB",  "SSTV",    "CW",   "SSB",  "rtty"};
const char* const kPrefixes[] = {"Q2", "Q3", "Q4", "", "q2"};
const char* const kSerials[] = {"001", "", "17"};

template <typename T, std::size_t N>
const T& Pick(std::mt19937& rng, const T (&values)[N]) {
  return values[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

HostQso RandomQso(std::mt19937& rng) {
  HostQso q;
  q.call = Pick(rng, kCalls);
  q.band = Pick(rng, kBands);
  q.mode = Pick(rng, kModes);
  q.prefix = Pick(rng, kPrefixes);
  q.nrSent = Pick(rng, kSerials);
  q.nrRcvd = Pick(rng, kSerials);
  q.hertz = std::uniform_int_distribution<unsigned>(0, 60000000)(rng);
  q.time = HostTime(2016, 2, 13, std::uniform_int_distribution<int>(0, 23)(rng),
                    std::uniform_int_distribution<int>(0, 59)(rng));
  if (std::uniform_int_distribution<int>(0, 20)(rng) == 0) {
    q.time = InvalidTime();
  }
  return q;
}

}  // namespace

using DifferentialTest = ScratchDirTest;

TEST_F(DifferentialTest, RandomSessionsMatchTheReferenceModel) {
  std::mt19937 rng(20161302);
  Settings settings;
  settings.Write(settings_key::kStart, "1");  // keep the panel toggle quiet
  const int kSessions = 1500;
  for (int session = 0; session < kSessions; ++session) {
    ReferenceModel model;
    const std::string callsign = session % 7 == 0 ? "" : "Q1OWN";
    const COleDateTime start = HostTime(2016, 2, 13);
    const COleDateTime end = session % 5 == 0 ? NullTime() : HostTime(2016, 2, 14);
    const std::string modeWord = session % 3 == 0 ? "RTTY" : "";
    settings.Write(settings_key::kMode, modeWord);
    HostReset(0, callsign, start, end);
    model.Reset(0, callsign, start, end, modeWord);

    const int ops = std::uniform_int_distribution<int>(1, 60)(rng);
    for (int op = 0; op < ops; ++op) {
      const std::string where =
          "session " + std::to_string(session) + " op " + std::to_string(op);
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      if (kind <= 4) {
        const HostQso q = RandomQso(rng);
        ASSERT_EQ(model.Add(q.ownCall, q), HostAdd(q)) << where;
      } else if (kind <= 6) {
        const HostQso q = RandomQso(rng);
        ASSERT_EQ(model.Remove(q.call, q.band), HostRemove(q)) << where;
      } else if (kind == 7) {
        const HostQso q = RandomQso(rng);
        const char* other = std::uniform_int_distribution<int>(0, 3)(rng) == 0
                                ? nullptr
                                : Pick(rng, kBands);
        const std::string exchange = std::uniform_int_distribution<int>(0, 5)(rng) ? "599" : "";
        ASSERT_EQ(model.Check(q.call, q.mode, q.prefix, exchange, q.band.c_str(), other),
                  HostCheck(q.call, q.mode, q.prefix, exchange, q.band.c_str(), other))
            << where;
      } else {
        ASSERT_EQ(model.Result(), std::string(GetResult0(nullptr))) << where;
        ASSERT_EQ(model.tableText, Module().tableText) << where;
        for (int g = 0; g < 7; ++g) {
          ASSERT_EQ(model.prefixLists[g], Module().prefixLists[g]) << where << " group " << g;
        }
        ASSERT_EQ(std::to_string(model.claimed), settings.Read(settings_key::kClaimed)) << where;
      }
    }
    ASSERT_EQ(model.Result(), std::string(GetResult0(nullptr))) << "session " << session;
    ASSERT_EQ(model.errText, ReadFile("err.txt")) << "session " << session;
    ASSERT_EQ(model.qsos().size(), Module().qsos.size()) << "session " << session;
  }
}
