#include "tools/check/call_variants.h"

#include <algorithm>

namespace {

// The call itself and each form with one character dropped, each once:
// dropping either of two equal neighbours gives the same form, and no other
// two drops do, so the forms are told apart without comparing them.
std::vector<std::string> Forms(std::string_view call) {
  std::vector<std::string> forms;
  forms.emplace_back(call);
  for (std::size_t i = 0; i < call.size(); ++i) {
    if (i > 0 && call[i] == call[i - 1]) {
      continue;
    }
    std::string dropped(call.substr(0, i));
    dropped.append(call.substr(i + 1));
    forms.push_back(std::move(dropped));
  }
  return forms;
}

}  // namespace

bool OneEditApart(std::string_view a, std::string_view b) {
  if (a.size() < b.size()) {
    std::swap(a, b);
  }
  if (a.size() - b.size() > 1) {
    return false;
  }
  std::size_t i = 0;
  while (i < b.size() && a[i] == b[i]) {
    ++i;
  }
  if (a.size() != b.size()) {
    return a.substr(i + 1) == b.substr(i);
  }
  if (i == a.size()) {
    return false;  // the same call
  }
  if (a.substr(i + 1) == b.substr(i + 1)) {
    return true;  // one character changed
  }
  return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] &&
         a.substr(i + 2) == b.substr(i + 2);
}

void OneEditIndex::Add(int id, std::string_view call) {
  calls_.emplace(id, std::string(call));
  for (std::string& form : Forms(call)) {
    byForm_[std::move(form)].push_back(id);
  }
}

std::vector<int> OneEditIndex::Near(std::string_view call) const {
  std::vector<int> near;
  for (const std::string& form : Forms(call)) {
    const auto found = byForm_.find(form);
    if (found == byForm_.end()) {
      continue;
    }
    for (int id : found->second) {
      if (std::find(near.begin(), near.end(), id) == near.end() &&
          OneEditApart(call, calls_.at(id))) {
        near.push_back(id);
      }
    }
  }
  std::sort(near.begin(), near.end());
  return near;
}
