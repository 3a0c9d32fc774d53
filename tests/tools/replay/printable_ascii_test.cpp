#include "tools/replay/printable_ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PrintableAsciiTest, EveryByteBecomesPrintable) {
  EXPECT_EQ("Jorg Muller", PrintableAscii("J\xC3\xB6rg M\xC3\xBCller")) << "UTF-8";
  EXPECT_EQ("Jorg Muller", PrintableAscii("J\xF6rg M\xFCller")) << "Windows-1252";
  EXPECT_EQ("Strasse AEro", PrintableAscii("Stra\xDF"
                                           "e \xC6ro"));
  EXPECT_EQ("a b c", PrintableAscii("a\tb\xA0"
                                    "c"));
  EXPECT_EQ("\"quoted\" - ...", PrintableAscii("\x93quoted\x94 \x96 \x85"));
  EXPECT_EQ("?1?", PrintableAscii(std::string("\x01"
                                              "1\x7F",
                                              3)));
  EXPECT_EQ("a,?", PrintableAscii("\xE2\x82\xAC"))
      << "UTF-8 beyond Latin-1 is read as Windows-1252";
  for (int c = 0; c < 256; ++c) {
    for (char out : PrintableAscii(std::string(1, static_cast<char>(c)))) {
      EXPECT_TRUE(out >= 0x20 && out < 0x7F) << "byte " << c;
    }
  }
}

}  // namespace
