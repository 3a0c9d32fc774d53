// Interned texts: each distinct text (a callsign, a serial number) is stored
// once and named by a small number, so two million QSO lines cost a few
// integers each and comparing two calls is comparing two numbers.
//
// One pool per run, filled and read on one thread.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

class TextPool {
 public:
  // The number of `text`, adding it when it is new.
  int Intern(std::string_view text) {
    const auto found = ids_.find(text);
    if (found != ids_.end()) {
      return found->second;
    }
    // A deque never moves its elements, so the views the map holds stay valid.
    texts_.emplace_back(text);
    const int id = static_cast<int>(texts_.size()) - 1;
    ids_.emplace(texts_.back(), id);
    return id;
  }

  // The number of `text`, or -1 when the pool does not hold it.
  int Find(std::string_view text) const {
    const auto found = ids_.find(text);
    return found != ids_.end() ? found->second : -1;
  }

  const std::string& Text(int id) const { return texts_[static_cast<std::size_t>(id)]; }
  int Size() const { return static_cast<int>(texts_.size()); }

 private:
  std::deque<std::string> texts_;
  std::unordered_map<std::string_view, int> ids_;
};
