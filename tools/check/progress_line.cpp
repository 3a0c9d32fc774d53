#include "tools/check/progress_line.h"

#include <cstdio>

#include "platform/program.h"

namespace {

constexpr auto kQuietFor = std::chrono::seconds(1);
constexpr auto kEvery = std::chrono::milliseconds(200);

}  // namespace

ProgressLine::ProgressLine() : enabled_(StderrIsTerminal()), start_(Clock::now()) {}

void ProgressLine::Show(const std::string& text) {
  if (!enabled_) {
    return;
  }
  const Clock::time_point now = Clock::now();
  if (now - start_ < kQuietFor || now - last_ < kEvery) {
    return;
  }
  last_ = now;
  const std::size_t blanks = shown_ > text.size() ? shown_ - text.size() : 0;
  std::fprintf(stderr, "\r%s%s", text.c_str(), std::string(blanks, ' ').c_str());
  std::fflush(stderr);
  shown_ = text.size();
}

void ProgressLine::Clear() {
  if (shown_ == 0) {
    return;
  }
  std::fprintf(stderr, "\r%s\r", std::string(shown_, ' ').c_str());
  std::fflush(stderr);
  shown_ = 0;
}
