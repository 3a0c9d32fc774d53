#include "tools/check/call_variants.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CallVariantsTest, OneEditIsOneChangeAddDropOrNeighbourSwap) {
  struct Case {
    const char* a;
    const char* b;
    bool oneEdit;
  };
  const Case cases[] = {
      {"DL1ABC", "DL1ABD", true},     // changed
      {"DL1ABC", "DL1AC", true},      // dropped
      {"DL1ABC", "DL1ABCD", true},    // added at the end
      {"DL1ABC", "XDL1ABC", true},    // added in front
      {"DL1ABC", "DL1BAC", true},     // neighbours swapped
      {"DL1ABC", "LD1ABC", true},     // the first two swapped
      {"DL1ABC", "DL1ABC", false},    // the same call
      {"DL1ABC", "DL1CBA", false},    // not neighbours
      {"DL1ABC", "DL2ABD", false},    // two changes
      {"DL1ABC", "DL1A", false},      // two dropped
      {"DL1ABC/P", "DL1ABC", false},  // a suffix counts as written
      {"DL1ABC/P", "DL1ABD/P", true}, {"", "A", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.oneEdit, OneEditApart(c.a, c.b)) << c.a << " ~ " << c.b;
    EXPECT_EQ(c.oneEdit, OneEditApart(c.b, c.a)) << c.b << " ~ " << c.a;
  }
}

TEST(CallVariantsTest, IndexFindsEveryCallOneEditAwayAndNoOther) {
  OneEditIndex index;
  const char* calls[] = {"DL1ABC", "DL1ABD", "DL1AB", "LD1ABC", "DL1CBA", "K1ABC", "DL1ABCD"};
  for (int i = 0; i < 7; ++i) {
    index.Add(i, calls[i]);
  }
  EXPECT_EQ((std::vector<int>{1, 2, 3, 6}), index.Near("DL1ABC"));
  EXPECT_EQ((std::vector<int>{0, 1, 2}), index.Near("DL1ABX"));
  EXPECT_EQ((std::vector<int>{}), index.Near("ZZ9ZZ"));
}

}  // namespace
