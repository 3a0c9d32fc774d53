// One line on the terminal that a long run keeps rewriting with how far it
// has got. Quiet for runs shorter than a second and when stderr is not a
// terminal (a file or a pipe gets only the run's messages).
//
// Used from one thread.
#pragma once

#include <chrono>
#include <string>

class ProgressLine {
 public:
  ProgressLine();

  // Shows `text` in place of the last one, at most a few times a second.
  void Show(const std::string& text);

  // Erases the line, so that a message can follow on a clean line.
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;
  bool enabled_;
  Clock::time_point start_;
  Clock::time_point last_;
  std::size_t shown_ = 0;  // length of the text on the terminal
};
