#include "tools/replay/word_wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WordWrapTest, BreaksAtBlanksAndSplitsLongWords) {
  EXPECT_EQ((std::vector<std::string>{"ab cd", "ef"}), WrapWords("ab cd ef", 5));
  EXPECT_EQ((std::vector<std::string>{"ab", "cdefg", "hi"}), WrapWords("  ab   cdefghi ", 5));
  EXPECT_EQ(std::vector<std::string>{}, WrapWords("   ", 5));
}

}  // namespace
