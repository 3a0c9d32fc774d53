#include "tools/replay/word_wrap.h"

#include <algorithm>

std::vector<std::string> WrapWords(std::string_view text, std::size_t width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', i), text.size());
    std::string_view word = text.substr(i, end - i);
    i = end;
    if (!line.empty() && line.size() + 1 + word.size() <= width) {
      line += ' ';
      line += word;
      continue;
    }
    if (!line.empty()) {
      lines.push_back(std::move(line));
      line.clear();
    }
    while (word.size() > width) {
      lines.emplace_back(word.substr(0, width));
      word.remove_prefix(width);
    }
    line = std::string(word);
  }
  if (!line.empty()) {
    lines.push_back(std::move(line));
  }
  return lines;
}
