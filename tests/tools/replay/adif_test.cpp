#include "tools/replay/adif.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Warnings(const AdifLog& log) {
  std::vector<std::string> texts;
  for (const AdifWarning& w : log.warnings) {
    texts.push_back(FormatWarning(w));
  }
  return texts;
}

std::string Value(const AdifRecord& r, const char* name) {
  const std::string* v = r.Find(name);
  return v != nullptr ? *v : "<none>";
}

TEST(AdifTest, ReadsHeaderAndRecordsWithCaseFreeNamesAndTypes) {
  const AdifLog log = ParseAdif(
      "Exported by a logger\n"
      "<adif_ver:5>3.1.4 <PROGRAMID:4>Test\n"
      "<eoh>\n"
      "<call:5>DL1AB <Freq:6:N>14.080 <MODE:4>RTTY <eor>\n"
      "comment between records\n"
      "<CALL:4>OK1X\n<BAND:3>40m<EOR>\n");
  EXPECT_TRUE(log.warnings.empty()) << testing::PrintToString(Warnings(log));
  ASSERT_EQ(2u, log.header.size());
  EXPECT_EQ("ADIF_VER", log.header[0].name);
  EXPECT_EQ("3.1.4", log.header[0].value);
  EXPECT_EQ("PROGRAMID", log.header[1].name);
  ASSERT_EQ(2u, log.records.size());
  EXPECT_EQ(1, log.records[0].number);
  EXPECT_EQ(4, log.records[0].line);
  EXPECT_EQ("DL1AB", Value(log.records[0], "CALL"));
  EXPECT_EQ("14.080", Value(log.records[0], "freq")) << "names match without regard to case";
  EXPECT_EQ("RTTY", Value(log.records[0], "Mode"));
  EXPECT_EQ(2, log.records[1].number);
  EXPECT_EQ(6, log.records[1].line);
  EXPECT_EQ("40m", Value(log.records[1], "BAND"));
  EXPECT_EQ("<none>", Value(log.records[1], "MODE"));
}

TEST(AdifTest, AFileMayHaveNoHeader) {
  const AdifLog log = ParseAdif("<CALL:4>K1AB<EOR><CALL:4>K2CD<EOR>");
  EXPECT_TRUE(log.header.empty());
  EXPECT_TRUE(log.warnings.empty());
  ASSERT_EQ(2u, log.records.size());
  EXPECT_EQ("K1AB", Value(log.records[0], "CALL"));
  EXPECT_EQ("K2CD", Value(log.records[1], "CALL"));
}

TEST(AdifTest, LengthsCountBytesAndDataIsTakenVerbatim) {
  // UTF-8, Latin-1 and Windows-1251 bytes, as logs of other programs hold them.
  const AdifLog log = ParseAdif(
      "<NAME:5>Jos\xC3\xA9<MY_NAME:4>Jos\xE9<QTH:6>\xCC\xEE\xF1\xEA\xE2\xE0"
      "<COMMENT:11>a <EOR> b>c<CALL:4>K1AB<ADDRESS:0><EOR>");
  EXPECT_TRUE(log.warnings.empty());
  ASSERT_EQ(1u, log.records.size());
  EXPECT_EQ("Jos\xC3\xA9", Value(log.records[0], "NAME"));
  EXPECT_EQ("Jos\xE9", Value(log.records[0], "MY_NAME"));
  EXPECT_EQ("\xCC\xEE\xF1\xEA\xE2\xE0", Value(log.records[0], "QTH"));
  EXPECT_EQ("a <EOR> b>c", Value(log.records[0], "COMMENT"));
  EXPECT_EQ("K1AB", Value(log.records[0], "CALL"));
  EXPECT_EQ("", Value(log.records[0], "ADDRESS"));
}

TEST(AdifTest, EmptyInputHasNothing) {
  const AdifLog log = ParseAdif("");
  EXPECT_TRUE(log.header.empty());
  EXPECT_TRUE(log.records.empty());
  EXPECT_TRUE(log.warnings.empty());
}

TEST(AdifTest, LengthPastTheEndDropsTheFieldAndKeepsTheRecord) {
  const AdifLog log = ParseAdif("<EOH>\n<CALL:4>K1AB<EOR>\n<CALL:4>K2CD <COMMENT:40>cut short\n");
  EXPECT_EQ((std::vector<std::string>{
                "record 2 (line 3): the field COMMENT claims 40 bytes but only 10 are left in "
                "the file; the field is dropped",
                "record 2 (line 4): no <EOR> at the end of the file; the record is used as read"}),
            Warnings(log));
  ASSERT_EQ(2u, log.records.size());
  EXPECT_EQ("K2CD", Value(log.records[1], "CALL"));
  EXPECT_EQ("<none>", Value(log.records[1], "COMMENT"));
}

TEST(AdifTest, ARecordEndsOnlyAtEorAndARepeatedFieldKeepsItsFirstValue) {
  const AdifLog log = ParseAdif(
      "<EOH>\n"
      "<CALL:4>K1AB <STX:2>12 <UPLOAD:1>M <SRX:0> <UPLOAD:1>N <SRX:1> <SRX:2>34 <SRX:2>56 <EOR>\n"
      "<CALL:4>K2CD <MODE:4>RTTY\n"
      "<call:4>K3EF <MODE:4>HELL <EOR>\n"
      "<CALL:4>K4GH <EOR>\n");
  EXPECT_EQ((std::vector<std::string>{
                "record 1 (line 2): UPLOAD and SRX are given more than once; the first value of "
                "each that is not blank is used",
                "record 2 (line 4): CALL and MODE are given more than once; the first value of "
                "each that is not blank is used (two contacts with no <EOR> between them?)"}),
            Warnings(log));
  ASSERT_EQ(3u, log.records.size());
  const AdifRecord& first = log.records[0];
  ASSERT_EQ(4u, first.fields.size()) << "each name once, in the order first met";
  EXPECT_EQ("SRX", first.fields[3].name);
  EXPECT_EQ("M", Value(first, "UPLOAD"));
  EXPECT_EQ("34", Value(first, "SRX")) << "blank values give way to the first real one";
  EXPECT_EQ("12", Value(first, "STX"));
  EXPECT_EQ("K2CD", Value(log.records[1], "CALL"));
  EXPECT_EQ("RTTY", Value(log.records[1], "MODE"));
  EXPECT_EQ(3, log.records[1].line);
  EXPECT_EQ(3, log.records[2].number);
  EXPECT_EQ("K4GH", Value(log.records[2], "CALL"));
}

TEST(AdifTest, AFileWithoutEorIsCutWhereTheFirstFieldComesAgain) {
  const AdifLog log = ParseAdif(
      "<ADIF_VER:5>3.1.4 <EOH>\n"
      "<QSO_DATE:8>20160213 <CALL:4>K1AB <FOO:x>1\n"
      "<QSO_DATE:8>20160214 <CALL:4>K2CD <CALL:4>K2XX\n"
      "<QSO_DATE:8>20160215 <CALL:4>K3EF\n");
  EXPECT_EQ((std::vector<std::string>{
                "record 1 (line 2): the field FOO has the length 'x', which is not a number; "
                "the tag is ignored",
                "record 1 (line 3): the file has no <EOR>; each record is taken to end where its "
                "first field (QSO_DATE) comes again",
                "record 2 (line 3): CALL is given more than once; the first value that is not "
                "blank is used (two contacts with no <EOR> between them?)"}),
            Warnings(log));
  ASSERT_EQ(1u, log.header.size());
  ASSERT_EQ(3u, log.records.size());
  EXPECT_EQ("20160213", Value(log.records[0], "QSO_DATE"));
  EXPECT_EQ("K1AB", Value(log.records[0], "CALL"));
  EXPECT_EQ("K2CD", Value(log.records[1], "CALL"));
  EXPECT_EQ(3, log.records[1].line);
  EXPECT_EQ("20160215", Value(log.records[2], "QSO_DATE"));
  EXPECT_EQ("K3EF", Value(log.records[2], "CALL"));
  EXPECT_EQ(4, log.records[2].line);
}

TEST(AdifTest, BadTagsAreWarnedAndSkipped) {
  const AdifLog log = ParseAdif(
      "<EOH>\n"
      "<CALL:4>K1AB <FREQ:x>14 <BAND> <:3>abc <MODE:4>RTTY <EOR>\n"
      "<CALL:4>K2CD <EOH> <EOR>\n"
      "<CALL:4>K3EF <MODE:4>HE");
  EXPECT_EQ((std::vector<std::string>{
                "record 1 (line 2): the field FREQ has the length 'x', which is not a number; "
                "the tag is ignored",
                "record 1 (line 2): the tag <BAND> has no length; it is ignored",
                "record 1 (line 2): a field without a name is ignored",
                "record 2 (line 3): an <EOH> after the header is ignored",
                "record 3 (line 4): the field MODE claims 4 bytes but only 2 are left in the "
                "file; the field is dropped",
                "record 3 (line 4): no <EOR> at the end of the file; the record is used as read"}),
            Warnings(log));
  ASSERT_EQ(3u, log.records.size());
  EXPECT_EQ("RTTY", Value(log.records[0], "MODE"));
  EXPECT_EQ("<none>", Value(log.records[0], "FREQ"));
  EXPECT_EQ("K3EF", Value(log.records[2], "CALL"));
}

TEST(AdifTest, UnclosedTagEndsTheFile) {
  const AdifLog log = ParseAdif("<CALL:4>K1AB<EOR>\n<CALL:4>K2CD <MODE:4");
  EXPECT_EQ((std::vector<std::string>{
                "record 2 (line 2): a '<' without a closing '>'; the rest of the file is ignored",
                "record 2 (line 2): no <EOR> at the end of the file; the record is used as read"}),
            Warnings(log));
  ASSERT_EQ(2u, log.records.size());
  EXPECT_EQ("K2CD", Value(log.records[1], "CALL"));
}

TEST(AdifTest, StrayLessThanBeforeATagIsSkipped) {
  const AdifLog log = ParseAdif("a < b <CALL:4>K1AB<EOR>");
  EXPECT_EQ((std::vector<std::string>{"record 1 (line 1): a stray '<' is ignored"}), Warnings(log));
  ASSERT_EQ(1u, log.records.size());
  EXPECT_EQ("K1AB", Value(log.records[0], "CALL"));
}

TEST(AdifTest, WarningsBeforeEohBelongToTheHeader) {
  const AdifLog log = ParseAdif("<ADIF_VER:x>3 <PROGRAMID:4>Test\n<EOH>\n<CALL:4>K1AB <EOR>");
  EXPECT_EQ((std::vector<std::string>{"header (line 1): the field ADIF_VER has the length 'x', "
                                      "which is not a number; the tag is ignored"}),
            Warnings(log));
  ASSERT_EQ(1u, log.header.size());
  ASSERT_EQ(1u, log.records.size());
  EXPECT_EQ(1, log.records[0].number);
}

TEST(AdifTest, AnEmptyRecordIsStillCounted) {
  const AdifLog log = ParseAdif("<CALL:4>K1AB<EOR>\n<EOR>\n<CALL:4>K2CD<EOR>");
  ASSERT_EQ(3u, log.records.size());
  EXPECT_TRUE(log.records[1].fields.empty());
  EXPECT_EQ(2, log.records[1].line);
  EXPECT_EQ(3, log.records[2].number);
}

}  // namespace
