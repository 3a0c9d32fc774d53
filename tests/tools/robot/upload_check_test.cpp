#include "upload_check.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <string>
#include <vector>

#include "robot_limits.h"
#include "robot_test_support.h"
#include "tools/check/check_options.h"

namespace {

UploadForm GoodForm() {
  UploadForm form;
  form.call = " q1aa ";
  form.email = "op@example.org";
  form.power = "low";
  form.club = "Brawlers";
  form.files = {{"RTTY.log", RttyLog()}, {"Q1AA.sum", SummarySheet("Q1AA")}};
  return form;
}

ContestPeriod Weekend() {
  return {ParsePeriodEnd("2016-02-13", false), ParsePeriodEnd("2016-02-14", true)};
}

// A zip of `files` made in memory.
std::string Zip(const std::vector<SubmittedFile>& files) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* z = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  for (const SubmittedFile& f : files) {
    zip_source_t* s = zip_source_buffer(z, f.bytes.data(), f.bytes.size(), 0);
    zip_file_add(z, f.name.c_str(), s, ZIP_FL_ENC_UTF_8);
  }
  zip_close(z);
  zip_source_open(buffer);
  zip_source_seek(buffer, 0, SEEK_END);
  const zip_int64_t size = zip_source_tell(buffer);
  zip_source_seek(buffer, 0, SEEK_SET);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  zip_source_read(buffer, bytes.data(), static_cast<zip_uint64_t>(size));
  zip_source_close(buffer);
  zip_source_free(buffer);
  zip_error_fini(&error);
  return bytes;
}

TEST(UploadCheckTest, AGoodUploadBecomesTheContactsTheHostWouldPass) {
  const CheckedUpload c = CheckUpload(GoodForm(), Weekend());
  ASSERT_TRUE(c.problems.empty()) << c.problems.front();
  EXPECT_EQ("Q1AA", c.call);
  EXPECT_EQ("LOW", c.power);
  ASSERT_EQ(3u, c.contacts.size());
  EXPECT_EQ("DL1ABC", c.contacts[0].call);
  EXPECT_EQ("RTTY", c.contacts[0].mode);
  EXPECT_EQ("20m", c.contacts[0].band);
  EXPECT_EQ(14080000u, c.contacts[0].hertz);
  EXPECT_EQ(2u, c.files.size());
}

TEST(UploadCheckTest, ARefusalListsEveryProblemWithFileAndLine) {
  UploadForm form = GoodForm();
  form.email = "nobody";
  form.power = "QRO";
  form.files = {
      {"RTTY.log", RttyLog() + "QSO: 14O80 RY 2016-02-13 1230 Q1AA 001 K1AB 005\r\n" +
                       QsoLine("14080", "RY", "2016-02-20 0900", "K2CD")},
      {"PSK .log", QsoLine("14070", "PS", "2016-02-13 1300", "K3EF", "Q1AB")},
      {"Q1AA.sum", SummarySheet("Q1AX")},
      {"notes.txt", "hello"}};
  const CheckedUpload c = CheckUpload(form, Weekend());
  const std::vector<std::string> expected = {
      "'nobody' is not an e-mail address (at most 100 characters)",
      "the power category 'QRO' is none of HIGH, LOW and QRP",
      "notes.txt is neither a per-mode log nor a summary sheet; not read",
      "RTTY.log line 4: frequency '14O80' is not a number of kHz",
      "PSK .log: the QSO lines give the own call Q1AB, not Q1AA",
      "RTTY.log line 5: 2016-02-20 0900 lies outside the contest period "
      "(2016-02-13 0000 to 2016-02-14 2359)",
      "Q1AA.sum names Q1AX, not Q1AA"};
  EXPECT_EQ(expected, c.problems);
  EXPECT_TRUE(c.contacts.empty());
}

TEST(UploadCheckTest, EmptyOrOversizedUploadsAreNamed) {
  UploadForm form = GoodForm();
  form.files.clear();
  EXPECT_EQ(std::vector<std::string>{"no file was sent"}, CheckUpload(form, {}).problems);

  form = GoodForm();
  form.files = {{"RTTY.log", ""}};
  EXPECT_EQ(std::vector<std::string>{"the files hold no readable QSO line"},
            CheckUpload(form, {}).problems);

  form = GoodForm();
  form.call = "Q1AA BB";
  form.files = {{"C:\\logs\\RTTY.log", RttyLog()}, {"RTTY.log", RttyLog()}};
  EXPECT_EQ((std::vector<std::string>{"the call 'Q1AA BB' holds characters no call has",
                                      "RTTY.log was sent twice"}),
            CheckUpload(form, {}).problems);
  form = GoodForm();
  form.files = {{"\x1b[2J.sum", SummarySheet("Q1AA")}, {std::string(101, 'a') + ".log", ""}};
  EXPECT_EQ((std::vector<std::string>{
                "?[2J.sum: a file name holds characters that are not text",
                std::string(60, 'a') + "...: a file name is at most 100 characters long"}),
            CheckUpload(form, {}).problems);

  std::string many;
  for (std::size_t i = 0; i <= kMaxFileLines; ++i) {
    many += "\r\n";
  }
  form = GoodForm();
  form.files = {{"RTTY.log", many}};
  EXPECT_EQ(std::vector<std::string>{"RTTY.log has 20001 lines; a file may have 20000"},
            CheckUpload(form, {}).problems);
}

TEST(UploadCheckTest, AZipIsReadAsItsFiles) {
  UploadForm form = GoodForm();
  form.files = {{"q1aa.zip", Zip({{"report/RTTY.log", RttyLog()},
                                  {"report/Q1AA.sum", SummarySheet("Q1AA")}})}};
  const CheckedUpload c = CheckUpload(form, Weekend());
  ASSERT_TRUE(c.problems.empty()) << c.problems.front();
  EXPECT_EQ(3u, c.contacts.size());
  ASSERT_EQ(2u, c.files.size());
  EXPECT_EQ("RTTY.log", c.files[0].name);
  EXPECT_EQ(RttyLog(), c.files[0].bytes);

  std::vector<SubmittedFile> tooMany;
  for (std::size_t i = 0; i <= kMaxUploadFiles; ++i) {
    tooMany.push_back({"f" + std::to_string(i) + ".log", "x"});
  }
  form.files = {{"all.zip", Zip(tooMany)}};
  EXPECT_EQ(std::vector<std::string>{"all.zip holds more than 16 files"},
            CheckUpload(form, {}).problems);

  // Far more unpacked than sent: the bound holds whatever the zip claims.
  form.files = {{"bomb.zip", Zip({{"RTTY.log", std::string(kMaxUnzippedBytes + 1, '\n')}})}};
  EXPECT_EQ(std::vector<std::string>{"bomb.zip unpacks to more than 8 MiB"},
            CheckUpload(form, {}).problems);

  form.files = {{"broken.zip", "PK\x03\x04 not really"}};
  EXPECT_EQ(std::vector<std::string>{"broken.zip cannot be read as a zip"},
            CheckUpload(form, {}).problems);
}

}  // namespace
