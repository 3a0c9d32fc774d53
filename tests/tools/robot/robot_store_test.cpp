#include "robot_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "robot_security.h"

namespace {

namespace fs = std::filesystem;

class RobotStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("robot-store-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    path_ = (folder_ / "robot.db").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  static UploadRecord Upload(const std::string& call, std::int64_t when, const std::string& log) {
    UploadRecord u;
    u.call = call;
    u.email = "op@example.org";
    u.power = "LOW";
    u.received = when;
    u.qsos = 3;
    u.claimed.qsos[4] = 3;
    u.claimed.prefixes[4] = 3;
    u.claimed.scores[4] = 9;
    u.files.push_back({"RTTY.log", Sha256Hex(log), log, static_cast<std::int64_t>(log.size())});
    return u;
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(RobotStoreTest, ALaterUploadReplacesTheEarlierAndBothStayOnDisk) {
  ASSERT_TRUE(SecurityReady());
  std::string binary("QSO:\0\xff\r\n", 7);
  {
    RobotStore store;
    std::string error;
    ASSERT_TRUE(store.Open(path_, error)) << error;
    UploadRecord first = Upload("Q1AA", 100, "first");
    UploadRecord second = Upload("Q1AA", 200, binary);
    UploadRecord other = Upload("K1ZZ", 150, "other");
    int codes = 0;
    // The first code offered is taken already: the store asks again.
    store.AddUpload(first, [] { return std::string("AAAAA-AAAAA-AAAAA"); });
    store.AddUpload(second, [&codes] { return ++codes == 1 ? "AAAAA-AAAAA-AAAAA" : "BBBBB-BBBBB-BBBBB"; });
    store.AddUpload(other, NewReceiptCode);
    EXPECT_EQ("BBBBB-BBBBB-BBBBB", second.receipt);
    EXPECT_EQ(2, codes);
  }
  RobotStore store;
  std::string error;
  ASSERT_TRUE(store.Open(path_, error)) << error;
  const std::vector<UploadRecord> latest = store.Latest(true);
  ASSERT_EQ(2u, latest.size());
  EXPECT_EQ("K1ZZ", latest[0].call);
  EXPECT_EQ("Q1AA", latest[1].call);
  EXPECT_EQ(200, latest[1].received);
  EXPECT_EQ(binary, latest[1].files[0].bytes);
  EXPECT_EQ(9, latest[1].claimed.scores[4]);
  EXPECT_EQ(9, latest[1].claimed.TotalScore());

  const std::vector<UploadRecord> history = store.History("Q1AA");
  ASSERT_EQ(2u, history.size());
  EXPECT_EQ("BBBBB-BBBBB-BBBBB", history[0].receipt);
  EXPECT_EQ("AAAAA-AAAAA-AAAAA", history[1].receipt);
  EXPECT_TRUE(history[1].files[0].bytes.empty());
  EXPECT_EQ(5, history[1].files[0].size);
  const std::optional<StoredFile> file = store.File(history[1].id, 0);
  ASSERT_TRUE(file);
  EXPECT_EQ("first", file->bytes);
  EXPECT_EQ(Sha256Hex("first"), file->sha256);
  EXPECT_FALSE(store.File(history[1].id, 1));
  EXPECT_EQ((std::map<std::string, int>{{"K1ZZ", 1}, {"Q1AA", 2}}), store.CountsByCall(false));
}

TEST_F(RobotStoreTest, RefusalsSettingsAndPublishedResultsAreKept) {
  RobotStore store;
  std::string error;
  ASSERT_TRUE(store.Open(path_, error)) << error;
  RefusalRecord r;
  r.call = "Q1AA";
  r.received = 5;
  r.problems = {"RTTY.log line 4: not a QSO line", "Q1AA.sum names Q1AX, not Q1AA"};
  store.AddRefusal(r);
  r.call = "<B>";
  r.problems = {"the files hold no readable QSO line"};
  store.AddRefusal(r);
  const std::vector<RefusalRecord> mine = store.Refusals(std::string("Q1AA"), 10);
  ASSERT_EQ(1u, mine.size());
  EXPECT_EQ((std::vector<std::string>{"RTTY.log line 4: not a QSO line",
                                      "Q1AA.sum names Q1AX, not Q1AA"}),
            mine[0].problems);
  EXPECT_EQ("<B>", store.Refusals(std::nullopt, 1).at(0).call);

  EXPECT_FALSE(store.Setting("password"));
  store.SetSetting("password", "hash");
  EXPECT_EQ("hash", store.Setting("password").value_or(""));

  store.ReplacePublished({{"index.html", "one"}, {"stations/Q1AA.html", "two"}});
  store.ReplacePublished({{"index.html", "three"}});
  EXPECT_EQ("three", store.Published("index.html").value_or(""));
  EXPECT_FALSE(store.Published("stations/Q1AA.html"));
}

TEST(RobotSecurityTest, PasswordsTokensAndLimits) {
  ASSERT_TRUE(SecurityReady());
  const std::string stored = HashPassword("correct horse");
  EXPECT_EQ(0u, stored.find("$argon2id$"));
  EXPECT_TRUE(PasswordMatches(stored, "correct horse"));
  EXPECT_FALSE(PasswordMatches(stored, "correct hors"));
  EXPECT_NE(stored, HashPassword("correct horse"));  // salted

  const std::string key(32, 'k');
  const std::string token = FormToken(key, "form:abc");
  EXPECT_TRUE(FormTokenMatches(key, "form:abc", token));
  EXPECT_FALSE(FormTokenMatches(key, "form:abd", token));
  EXPECT_FALSE(FormTokenMatches(key, "form:abc", ""));
  EXPECT_FALSE(FormTokenMatches(std::string(32, 'j'), "form:abc", token));

  const std::string receipt = NewReceiptCode();
  ASSERT_EQ(17u, receipt.size());
  EXPECT_EQ(std::string::npos, receipt.find_first_of("IO01"));
  EXPECT_NE(receipt, NewReceiptCode());

  RateLimit limit(2, 60);
  EXPECT_TRUE(limit.Allow("a", 0));
  EXPECT_TRUE(limit.Allow("a", 10));
  EXPECT_FALSE(limit.Allow("a", 20));
  EXPECT_TRUE(limit.Allow("b", 20));
  EXPECT_TRUE(limit.Allow("a", 60));
}

}  // namespace
