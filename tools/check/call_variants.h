// Calls one edit apart: what a miscopied call looks like. One edit is one
// character changed, one added, one dropped, or two neighbours swapped; a
// "/P"-style suffix is part of the call as written.
//
// Pure functions and a read-only index once built; one thread builds it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// True when `a` and `b` differ by exactly one edit (never for equal calls).
bool OneEditApart(std::string_view a, std::string_view b);

// A set of calls that answers which of them lie one edit from a given call,
// without comparing it with each: two calls one edit apart always share a call
// that is either of them or either with one character dropped.
class OneEditIndex {
 public:
  void Add(int id, std::string_view call);

  // The ids of the added calls one edit from `call`, each once, in id order.
  std::vector<int> Near(std::string_view call) const;

 private:
  std::unordered_map<std::string, std::vector<int>> byForm_;
  std::unordered_map<int, std::string> calls_;
};
