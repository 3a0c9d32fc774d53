// Running out of memory inside an export. This program replaces the global
// allocation functions with ones that fail at the k-th allocation, and for
// every export and every k until the call gets through without reaching k:
// replays a contest log of a few hundred QSOs, makes the call with the fault
// armed, and then checks that the module is consistent, that it is exactly in
// the state before the call or the state after it, and that what follows
// (adds, removes, call checks, the result text) answers as it does on a module
// that never saw a fault. A reset that opens the header form has one more
// whole state: once the module has changed for the new pass, a form whose
// values cannot be taken in for want of memory counts as cancelled.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "contest/mode_groups.h"
#include "module_hooks.h"
#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "reports/report_test_support.h"
#include "test_support.h"

namespace {

// The k-th allocation from now fails (0: none fails). Counting runs only
// while a fault is armed, so gtest's own allocations in between do not count.
long g_failAt = 0;
long g_allocations = 0;

void* Allocate(std::size_t size) {
  if (g_failAt > 0 && ++g_allocations == g_failAt) {
    return nullptr;
  }
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

// The replacements pair malloc with free, which the compiler cannot see.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  void* p = Allocate(size);
  if (p == nullptr) {
    throw std::bad_alloc();
  }
  return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Everything the module keeps, as one text: two states are the same when
// their texts are.
std::string Digest() {
  ModuleState& m = Module();
  std::ostringstream d;
  for (const CInfo& q : m.qsos.records()) {
    d << q.m_call << '|' << q.m_band << '|' << q.m_mode << '|' << q.m_prefix << '|' << q.m_nrSent
      << '|' << q.m_nrRcvd << '|' << q.m_rstSent << '|' << q.m_rstRcvd << '|' << q.m_freqKhz
      << '|' << q.m_isDupe << '|' << q.m_time.m_dt << '|' << q.m_extra1 << q.m_extra2 << '\n';
  }
  d << "bands";
  for (const std::string& b : m.bandList) {
    d << ' ' << b;
  }
  d << "\nheading " << m.heading.startDate << '|' << m.heading.endDate << '|'
    << m.heading.modeWord << '|' << m.heading.contestant << " flag " << m.reportFlag << '\n';
  d << "result " << m.resultText << "\ntable " << m.tableText << '\n';
  for (const auto& list : m.prefixLists) {
    for (const std::string& p : list) {
      d << p << ',';
    }
    d << '\n';
  }
  for (const auto& row : m.grid) {
    for (const std::string& cell : row) {
      d << cell << ',';
    }
    d << '\n';
  }
  const CContestReport& r = m.report;
  d << "report " << r.m_callsign << r.m_name << r.m_address << r.m_claimed << r.m_contest
    << r.m_email << r.m_club << r.m_soapbox << r.m_operators << r.m_catOperator << r.m_catAssisted
    << r.m_catStation << r.m_catBand << r.m_catMode << r.m_catPower << r.m_catTransmitter
    << r.m_addressCity << r.m_addressState << r.m_addressPostalCode << r.m_addressCountry
    << r.m_catOverlay << r.m_location << '|' << r.m_fileWord << '|' << r.m_start.m_dt << '|'
    << r.m_end.m_dt << '\n';
  for (const auto& lines : r.m_modeLines) {
    for (const std::string& line : lines) {
      d << line;
    }
  }
  return d.str();
}

void ExpectConsistent(const char* when) {
  ModuleState& m = Module();
  EXPECT_EQ("", m.qsos.Inconsistency()) << when;
  EXPECT_EQ("", BandListInconsistency(m.qsos, m.bandList)) << when;
}

// A contest log with dupes, refused QSOs, repeated prefixes and every group.
std::vector<HostQso> ContestLog() {
  static const char* const kModes[] = {"BPSK31", "BPSK63", "RTTY", "HELL", "MFSK", "OLIVIA",
                                       "MT63",   "THROB",  "SSTV", "RTTY", "CW"};
  static const char* const kBands[] = {"80m", "40m", "20m", "15m", "10m", "160m", "17m"};
  std::vector<HostQso> log;
  unsigned state = 12345;
  auto next = [&state](unsigned n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  for (int i = 0; i < 300; ++i) {
    HostQso q;
    const unsigned station = next(120);
    q.call = "Q" + std::to_string(station % 9 + 1) + "A" + std::string(1, char('A' + station % 26));
    q.prefix = "Q" + std::to_string(station % 9 + 1);
    q.mode = kModes[next(11)];
    q.band = kBands[next(7)];
    q.nrSent = std::to_string(i + 1);
    q.nrRcvd = next(40) == 0 ? "" : std::to_string(next(999) + 1);
    q.hertz = 14080000u + next(5000) * 10u;
    q.time = HostTime(2016, 2, 13 + i / 200, (i / 10) % 24, i % 60);
    if (i % 50 == 7) {
      // Longer than a text keeps without memory of its own.
      q.call = "VP2V/Q" + std::to_string(station % 9 + 1) + "AA/PORTABLE";
    }
    log.push_back(q);
  }
  return log;
}

// A fresh module in a fresh folder, with a scripted operator that confirms
// the header form, after a whole pass over the log.
class FaultTest : public ScratchDirTest {
 protected:
  // A new module, after `qsos` QSOs of the log (all of them: -1).
  void Replay(int reportFlag, int qsos = -1) {
    RebuildModuleForTests();
    for (const char* f : {"err.txt", "Plugins/KOVA-BRAWLCUP.ini"}) {
      std::remove(f);
    }
    if (reportBefore_) {
      WriteFile("Plugins/KOVA-BRAWLCUP.ini",
                "[Settings]\r\nName=Ann\r\nAddress=Main St 1<CR>Flat 2\r\n"
                "SoapBox=abc<CR><LF>def\r\n");
    }
    Module().ui = &op_;
    HostReset(reportFlag, "Q1OWN");
    const std::vector<HostQso> log = ContestLog();
    const std::size_t n = qsos < 0 ? log.size() : static_cast<std::size_t>(qsos);
    for (std::size_t i = 0; i < n; ++i) {
      HostAdd(log[i]);
    }
    if (reportBefore_) {
      GetResult0(nullptr);
    }
  }

  // What the host does next: each answer in order, then the result text.
  std::string FollowUp() {
    std::ostringstream answers;
    std::vector<HostQso> log = ContestLog();
    for (int i = 0; i < 12; ++i) {
      HostQso q = log[static_cast<std::size_t>(i * 7)];
      q.band = i % 2 == 0 ? q.band : "20m";
      answers << HostAdd(q);
    }
    for (int i = 0; i < 6; ++i) {
      answers << HostRemove(log[static_cast<std::size_t>(i * 11)]);
    }
    for (int i = 0; i < 10; ++i) {
      const HostQso& q = log[static_cast<std::size_t>(i * 13)];
      answers << HostCheck(q.call, q.mode, q.prefix, "599", q.band.c_str(), q.band.c_str());
      answers << HostCheck("Q" + std::to_string(i) + "ZZ", "RTTY", "Q" + std::to_string(i), "599",
                           "20m", "20m");
    }
    answers << '\n' << GetResult0(nullptr);
    return answers.str();
  }

  // Runs `call` after a replay of `qsos` QSOs: first without faults (the
  // state after), then not at all (the state before), then once for every
  // allocation it makes, failing that allocation. `alsoWhole`, when given,
  // makes one more state that a failed call may end in. Returns the number
  // of allocations the call made.
  long Inject(const std::string& name, int reportFlag, int qsos, const std::function<void()>& call,
              const std::function<void()>& alsoWhole = nullptr) {
    Replay(reportFlag, qsos);
    const std::string beforeDigest = Digest();
    const std::string beforeFollowUp = FollowUp();

    Replay(reportFlag, qsos);
    call();
    const std::string afterDigest = Digest();
    const std::string afterFollowUp = FollowUp();

    std::string otherDigest = afterDigest;
    std::string otherFollowUp = afterFollowUp;
    if (alsoWhole) {
      Replay(reportFlag, qsos);
      alsoWhole();
      otherDigest = Digest();
      otherFollowUp = FollowUp();
      EXPECT_NE(otherDigest, afterDigest) << name << ": the other whole state is no other";
    }

    long k = 1;
    for (;; ++k) {
      Replay(reportFlag, qsos);
      g_allocations = 0;
      g_failAt = k;
      call();
      const bool reached = g_allocations >= k;
      g_failAt = 0;
      const std::string digest = Digest();
      ExpectConsistent(name.c_str());
      const bool isBefore = digest == beforeDigest;
      const bool isAfter = digest == afterDigest;
      const bool isOther = digest == otherDigest;
      EXPECT_TRUE(isBefore || isAfter || isOther)
          << name << ": allocation " << k << " failed and left the module half changed";
      if (isAfter) {
        EXPECT_EQ(afterFollowUp, FollowUp()) << name << ", allocation " << k;
      } else if (isBefore) {
        EXPECT_EQ(beforeFollowUp, FollowUp()) << name << ", allocation " << k;
      } else if (isOther) {
        EXPECT_EQ(otherFollowUp, FollowUp()) << name << ", allocation " << k;
      }
      if (!reached || ::testing::Test::HasFailure()) {
        break;
      }
    }
    return k - 1;
  }

  // Prints and returns the fault points of one export over its cases.
  static long Report(const char* name, long points) {
    std::cout << name << ": " << points << " fault points\n";
    return points;
  }

  ScriptedOperator op_;
  // The replay stores header data and closes with a report run's score
  // request, so that a cancelled form leaves a record other than a confirmed
  // one does (the soapbox and address in another form, the last run's lines).
  bool reportBefore_ = false;
};

TEST_F(FaultTest, EveryExportSurvivesEveryAllocationFailure) {
  const std::vector<HostQso> log = ContestLog();
  // Each QSO of the log in turn, so that the store's memory runs out while it
  // grows its pool and its index as well as while it reuses them.
  long adds = 0;
  for (std::size_t i = 0; i < log.size() && !HasFailure(); ++i) {
    adds += Inject("AddData0 of QSO " + std::to_string(i), 0, static_cast<int>(i),
                   [&] { HostAdd(log[i]); });
  }
  EXPECT_GT(Report("AddData0", adds), 300);

  const HostQso& portable = log[7];
  EXPECT_GT(Report("RemoveData0", Inject("RemoveData0", 0, -1, [&] { HostRemove(portable); })), 0);
  const std::string exchange = "599 and a long exchange";
  EXPECT_GT(Report("CheckCall0", Inject("CheckCall0", 0, -1,
                                        [&] {
                                          HostCheck(portable.call, portable.mode, portable.prefix,
                                                    exchange, "20m", "20m");
                                        })),
            0);
  long resets = Inject("ResetStats0 on a new module", 0, 0, [] { HostReset(0, "Q1NEXT"); });
  resets += Inject("ResetStats0", 0, -1, [] { HostReset(0, "Q1NEXT"); });
  resets += Inject("ResetStats0 report run", 0, -1, [] { HostReset(1, "Q1NEXT/PORTABLE"); });
  reportBefore_ = true;
  resets += Inject(
      "ResetStats0 report run after a report", 1, -1, [] { HostReset(1, "Q1NEXT/PORTABLE"); },
      [this] {
        op_.answer = kDialogCancel;
        HostReset(1, "Q1NEXT/PORTABLE");
        op_.answer = kDialogOk;
      });
  reportBefore_ = false;
  EXPECT_GT(Report("ResetStats0", resets), 0);
  long results = Inject("GetResult0", 0, -1, [] { GetResult0(nullptr); });
  results += Inject("GetResult0 report run", 1, -1, [] {
    int out = 0;
    GetResult0(&out);
  });
  EXPECT_GT(Report("GetResult0", results), 0);
}

}  // namespace
