#include "contest/file_word.h"

#include <gtest/gtest.h>

#include <string>

TEST(FileWordTest, SlashesBecomeUnderscoresAndBlanksGo) {
  EXPECT_EQ("Q1AB_P", FileWordOf("Q1AB/P"));
  EXPECT_EQ("Q1AB_X", FileWordOf(" Q1AB\\X "));
  EXPECT_EQ("Q1AB", FileWordOf("\t Q1AB\r\n"));
  EXPECT_EQ("Q1 AB", FileWordOf("Q1 AB")) << "inner blanks stay";
  EXPECT_EQ("QZHC", FileWordOf(""));
  EXPECT_EQ("QZHC", FileWordOf(" \t \r\n"));
  EXPECT_EQ("_", FileWordOf(" / "));
}

TEST(FileWordTest, CharactersWindowsForbidsBecomeUnderscores) {
  EXPECT_EQ("C_AB", FileWordOf("C:AB")) << "no drive letter";
  EXPECT_EQ("Q1AB_s", FileWordOf("Q1AB:s")) << "no alternate stream";
  EXPECT_EQ("_Q1_AB____", FileWordOf("<Q1>AB\"|?*"));
  EXPECT_EQ("Q1_AB", FileWordOf("Q1\tAB")) << "inner control characters too";
  EXPECT_EQ("Q1_AB", FileWordOf(std::string("Q1") + '\x01' + "AB"));
  EXPECT_EQ("_.._x", FileWordOf("/../x"));
}

TEST(FileWordTest, DeviceNamesGetALeadingUnderscore) {
  for (const char* device : {"CON", "con", "Prn", "AUX", "nul", "COM1", "com9", "LPT1", "Lpt9"}) {
    EXPECT_EQ(std::string("_") + device, FileWordOf(device)) << device;
  }
  EXPECT_EQ("_NUL.X", FileWordOf("NUL.X")) << "an extension does not help";
  EXPECT_EQ("_CON .x", FileWordOf("CON .x")) << "blanks before the dot do not help either";
  EXPECT_EQ("CON _P", FileWordOf("CON /P"));
  EXPECT_EQ("COM10", FileWordOf("COM10"));
  EXPECT_EQ("COM0", FileWordOf("COM0"));
  EXPECT_EQ("CONX", FileWordOf("CONX"));
  EXPECT_EQ("Q1CON", FileWordOf("Q1CON"));
}
