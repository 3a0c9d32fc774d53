#include "platform/text.h"

#include <gtest/gtest.h>

TEST(ReplaceAllTest, ReplacesEveryOccurrenceAndCountsThem) {
  int count = -7;
  EXPECT_EQ("a__b", ReplaceAll("a//b", "/", "_", &count));
  EXPECT_EQ(2, count);

  EXPECT_EQ("abc<CR><LF>def", ReplaceAll(ReplaceAll("abc\r\ndef", "\r", "<CR>"), "\n", "<LF>"));
  EXPECT_EQ("x<CR>y", ReplaceAll("x<CR>y", "<CR>", "<CR>", &count));
  EXPECT_EQ(2, count) << "equal find and replacement leave the count alone";

  EXPECT_EQ("none", ReplaceAll("none", "/", "_", &count));
  EXPECT_EQ(0, count);

  EXPECT_EQ("XX", ReplaceAll("aaaa", "aa", "X", &count));
  EXPECT_EQ(2, count) << "occurrences do not overlap";
  EXPECT_EQ("<CR><CR>", ReplaceAll("<CR>", "<CR>", "<CR><CR>", &count));
  EXPECT_EQ(1, count) << "the replacement is never searched again";
  EXPECT_EQ("ab", ReplaceAll("a<LF>b", "<LF>", "")) << "no count pointer needed";
}

TEST(TextTest, AllDigitsIsANonEmptyRunOfAsciiDigits) {
  EXPECT_TRUE(AllDigits("0"));
  EXPECT_TRUE(AllDigits("0123456789"));
  for (const char* not_digits : {"", " 1", "1 ", "12a", "-1", "1.5", "\xd9\xa1"}) {
    EXPECT_FALSE(AllDigits(not_digits)) << "for '" << not_digits << "'";
  }
}

TEST(TextTest, WhiteSpaceAndCaseAreTheClassicLocales) {
  EXPECT_EQ("a b", TrimWhiteSpace(" \t\r\n\v\fa b\f\v\n\r\t "));
  EXPECT_EQ("", TrimWhiteSpace(" \t "));
  EXPECT_EQ("\xA0x\xA0", TrimWhiteSpace("\xA0x\xA0")) << "no-break space is not white space";
  EXPECT_TRUE(EqualsNoCase("20m", "20M"));
  EXPECT_FALSE(EqualsNoCase("20m", "20m "));
  EXPECT_FALSE(EqualsNoCase("\xE4", "\xC4")) << "letters beyond ASCII keep their case";
  EXPECT_TRUE(StartsWithNoCase("NON-ASSISTED", "non"));
  EXPECT_FALSE(StartsWithNoCase("NO", "NON"));
  EXPECT_EQ("Q1AB/P", ToUpperAscii("q1ab/p"));
  EXPECT_EQ("QSO:  7012 RY", FormatText("QSO: %5i %2s", 7012, "RY"));
}
