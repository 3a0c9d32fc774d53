// The robot answered over loopback by the real plug-in and stats-check.
#include "robot_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <thread>

#include "plugin_scorer.h"
#include "robot_limits.h"
#include "robot_security.h"
#include "robot_store.h"
#include "robot_test_support.h"
#include "tools/check/check_options.h"

namespace {

namespace fs = std::filesystem;

class RobotServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SecurityReady());
    scorer_ = new PluginScorer();
    std::string error;
    ASSERT_TRUE(scorer_->Start(STATS_ROBOT_TEST_PLUGIN, error)) << error;
  }
  static void TearDownTestSuite() {
    delete scorer_;
    scorer_ = nullptr;
  }

  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("robot-server-" + std::string(::testing::UnitTest::GetInstance()
                                                 ->current_test_info()
                                                 ->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    std::string error;
    ASSERT_TRUE(store_.Open((folder_ / "robot.db").string(), error)) << error;
    config_.period = {ParsePeriodEnd("2016-02-13", false), ParsePeriodEnd("2016-02-14", true)};
    config_.threads = 4;
    config_.publish.workFolder = folder_ / "publishing";
    config_.publish.checkerPath = STATS_ROBOT_TEST_CHECKER;
    config_.publish.pluginPath = STATS_ROBOT_TEST_PLUGIN;
    config_.now = [this] { return now_.load(); };
  }

  void Start() {
    server_ = std::make_unique<RobotServer>(config_, store_, *scorer_);
    std::string error;
    ASSERT_TRUE(server_->Bind("127.0.0.1", 0, error)) << error;
    thread_ = std::thread([this] { server_->Run(); });
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->Port());
  }

  void TearDown() override {
    if (server_) {
      server_->Stop();
      thread_.join();
    }
    fs::remove_all(folder_);
  }

  // The form cookie and the token of the form at `path`.
  void OpenForm(const std::string& path) {
    const auto res = client_->Get(path.c_str());
    ASSERT_TRUE(res);
    const std::string cookie = res->get_header_value("Set-Cookie");
    ASSERT_EQ(0u, cookie.find("robot_form="));
    EXPECT_NE(std::string::npos, cookie.find("; HttpOnly; SameSite=Strict"));
    cookies_ = cookie.substr(0, cookie.find(';'));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(res->body, m, std::regex("name=\"csrf\" value=\"([0-9a-f]+)\"")));
    token_ = m[1];
  }

  httplib::Result Upload(const std::string& call, const std::vector<SubmittedFile>& files,
                         bool withToken = true) {
    httplib::MultipartFormDataItems items = {
        {"call", call, "", ""}, {"email", "op@example.org", "", ""}, {"power", "LOW", "", ""},
        {"club", "Brawlers", "", ""}};
    if (withToken) {
      items.push_back({"csrf", token_, "", ""});
    }
    for (const SubmittedFile& f : files) {
      items.push_back({"files", f.bytes, f.name, "application/octet-stream"});
    }
    return client_->Post("/upload", {{"Cookie", cookies_}}, items);
  }

  httplib::Result Login(const std::string& password, bool withToken = true) {
    httplib::Params params = {{"password", password}};
    if (withToken) {
      params.emplace("csrf", token_);
    }
    return client_->Post("/admin/login", {{"Cookie", cookies_}}, params);
  }

  static std::string Receipt(const std::string& body) {
    std::smatch m;
    return std::regex_search(body, m, std::regex("id=\"receipt\">([A-Z2-9-]+)<")) ? m[1].str()
                                                                                 : std::string();
  }

  static PluginScorer* scorer_;
  fs::path folder_;
  RobotStore store_;
  RobotConfig config_;
  std::atomic<std::int64_t> now_{1455400000};  // 2016-02-13 21:46 UTC
  std::unique_ptr<RobotServer> server_;
  std::thread thread_;
  std::unique_ptr<httplib::Client> client_;
  std::string cookies_;
  std::string token_;
};

PluginScorer* RobotServerTest::scorer_ = nullptr;

TEST_F(RobotServerTest, AnUploadGetsAReceiptWithThePlugInsScoreAndReplacesTheEarlierOne) {
  Start();
  OpenForm("/");
  auto res = Upload("q1aa", {{"RTTY.log", RttyLog()}, {"Q1AA.sum", SummarySheet("Q1AA")}});
  ASSERT_TRUE(res);
  ASSERT_EQ(200, res->status) << res->body;
  const std::string first = Receipt(res->body);
  ASSERT_EQ(17u, first.size());
  EXPECT_NE(std::string::npos, res->body.find("id=\"score\">9<"));
  EXPECT_NE(std::string::npos,
            res->body.find("<th>QSO</th><td>0</td><td>0</td><td>0</td><td>0</td><td>3</td>"));
  EXPECT_NE(std::string::npos, res->body.find(Sha256Hex(RttyLog())));

  now_ += 60;
  res = Upload("Q1AA", {{"RTTY.log", RttyLog() + QsoLine("7040", "PS", "2016-02-14 0100", "K1AB")}});
  ASSERT_EQ(200, res->status) << res->body;
  EXPECT_NE(first, Receipt(res->body));
  EXPECT_NE(std::string::npos, res->body.find("id=\"score\">10<"));
  EXPECT_NE(std::string::npos, res->body.find("replaces the one you sent on 2016-02-13 21:46:40 UTC"));

  const auto received = client_->Get("/received");
  ASSERT_EQ(200, received->status);
  EXPECT_NE(std::string::npos, received->body.find("<td class=\"l\">Q1AA</td><td class=\"l\">LOW"));
  EXPECT_EQ(std::string::npos, received->body.find("example.org"));
  ASSERT_EQ(1u, store_.Latest().size());
  EXPECT_EQ(2u, store_.History("Q1AA").size());
}

TEST_F(RobotServerTest, WhatAStrangerSentIsShownEscaped) {
  Start();
  OpenForm("/");
  const auto res = Upload("<script>a</script>", {{"<script>b.log", RttyLog()}, {"RTTY.log", RttyLog()}});
  ASSERT_TRUE(res);
  EXPECT_EQ(422, res->status);
  EXPECT_EQ(std::string::npos, res->body.find("<script"));
  EXPECT_NE(std::string::npos,
            res->body.find("&lt;script&gt;b.log is neither a per-mode log nor a summary sheet"));
  EXPECT_NE(std::string::npos, res->body.find("own call Q1AA, not &lt;SCRIPT&gt;A&lt;/SCRIPT&gt;"));
  EXPECT_TRUE(store_.Latest().empty());
  ASSERT_EQ(1u, store_.Refusals(std::nullopt, 5).size());

  store_.SetSetting("password", HashPassword("a long password"));
  OpenForm("/admin/login");
  const auto login = Login("a long password");
  ASSERT_EQ(303, login->status);
  const std::string session = login->get_header_value("Set-Cookie");
  const auto admin = client_->Get("/admin", {{"Cookie", session.substr(0, session.find(';'))}});
  ASSERT_EQ(200, admin->status);
  EXPECT_EQ(std::string::npos, admin->body.find("<script"));
  EXPECT_NE(std::string::npos, admin->body.find("&lt;SCRIPT&gt;A&lt;/SCRIPT&gt;"));
}

TEST_F(RobotServerTest, EveryAnswerCarriesThePolicyAndOversizedRequestsGet413) {
  Start();
  OpenForm("/");
  std::vector<httplib::Result> answers;
  answers.push_back(client_->Get("/"));
  answers.push_back(client_->Get("/no/such/page"));
  answers.push_back(client_->Get("/style.css"));
  answers.push_back(Upload("Q1AA", {{"RTTY.log", std::string(kMaxRequestBytes, 'x')}}));
  for (const auto& res : answers) {
    ASSERT_TRUE(res);
    EXPECT_EQ("nosniff", res->get_header_value("X-Content-Type-Options"));
    ASSERT_EQ(1u, res->get_header_value_count("Content-Security-Policy"));
    EXPECT_EQ("default-src 'none'; style-src 'self'; form-action 'self'; base-uri 'none'; "
              "frame-ancestors 'none'",
              res->get_header_value("Content-Security-Policy"));
  }
  EXPECT_EQ("close", answers[0]->get_header_value("Connection"));  // no idle worker
  EXPECT_EQ(404, answers[1]->status);
  EXPECT_NE(std::string::npos, answers[1]->body.find("There is no such page here."));
  EXPECT_EQ(413, answers[3]->status);
  EXPECT_NE(std::string::npos, answers[3]->body.find("at most 8 MiB"));
  EXPECT_TRUE(store_.Latest().empty());
}

TEST_F(RobotServerTest, FormsWithoutTheirTokenAndTheBackOfficeWithoutASessionAreRefused) {
  config_.loginsPerQuarter = 2;
  Start();
  store_.SetSetting("password", HashPassword("a long password"));
  OpenForm("/");
  EXPECT_EQ(403, Upload("Q1AA", {{"RTTY.log", RttyLog()}}, false)->status);
  EXPECT_TRUE(store_.Latest().empty());

  OpenForm("/admin/login");
  EXPECT_EQ(403, Login("a long password", false)->status);
  const auto admin = client_->Get("/admin");
  EXPECT_EQ(303, admin->status);
  EXPECT_EQ("/admin/login", admin->get_header_value("Location"));
  EXPECT_EQ(303, client_->Get("/admin/file?upload=1&file=0")->status);
  EXPECT_EQ(303, client_->Post("/admin/publish", httplib::Params{{"csrf", token_}})->status);

  EXPECT_EQ(403, Login("wrong password")->status);
  const auto login = Login("a long password");
  ASSERT_EQ(303, login->status);
  const std::string cookie = login->get_header_value("Set-Cookie");
  EXPECT_EQ(0u, cookie.find("robot_session="));
  EXPECT_NE(std::string::npos, cookie.find("; HttpOnly; SameSite=Strict"));
  const std::string session = cookie.substr(0, cookie.find(';'));
  // A session's forms need its own token, not the login form's.
  EXPECT_EQ(403, client_->Post("/admin/publish", {{"Cookie", session}},
                               httplib::Params{{"csrf", token_}})
                     ->status);
  // Two attempts with a token were all this quarter allows, right password or not.
  EXPECT_EQ(429, Login("a long password")->status);
}

TEST_F(RobotServerTest, UploadsAfterTheDeadlineOrPastTheLimitAreRefused) {
  config_.deadlineMinute = ParsePeriodEnd("2016-02-13 2146", false);
  config_.uploadsPerHour = 2;
  Start();
  OpenForm("/");
  EXPECT_EQ(200, Upload("Q1AA", {{"RTTY.log", RttyLog()}})->status);
  now_ += 60;  // 21:47:40, past the deadline's minute
  const auto late = Upload("Q1AA", {{"RTTY.log", RttyLog()}});
  EXPECT_EQ(403, late->status);
  EXPECT_NE(std::string::npos, late->body.find("Logs were taken until 2016-02-13 2146 UTC"));
  EXPECT_NE(std::string::npos, client_->Get("/")->body.find("The deadline has passed"));
  EXPECT_EQ(429, Upload("Q1AA", {{"RTTY.log", RttyLog()}})->status);
  EXPECT_EQ(1u, store_.History("Q1AA").size());
}

TEST_F(RobotServerTest, TheSponsorDownloadsAFileAndPublishesTheResults) {
  Start();
  OpenForm("/");
  ASSERT_EQ(200, Upload("Q1AA", {{"RTTY.log", RttyLog()}, {"Q1AA.sum", SummarySheet("Q1AA")}})->status);
  ASSERT_EQ(200, Upload("DL1ABC", {{"RTTY.log", QsoLine("14080", "RY", "2016-02-13 1200", "Q1AA", "DL1ABC")}})->status);
  EXPECT_EQ(404, client_->Get("/results/")->status);

  store_.SetSetting("password", HashPassword("a long password"));
  OpenForm("/admin/login");
  const std::string cookie = Login("a long password")->get_header_value("Set-Cookie");
  const httplib::Headers session = {{"Cookie", cookie.substr(0, cookie.find(';'))}};
  const auto admin = client_->Get("/admin", session);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(admin->body, m, std::regex("name=\"csrf\" value=\"([0-9a-f]+)\"")));
  const std::string token = m[1];

  const std::int64_t upload = store_.History("Q1AA").at(0).id;
  const auto file = client_->Get(("/admin/file?upload=" + std::to_string(upload) + "&file=1").c_str(), session);
  ASSERT_EQ(200, file->status);
  EXPECT_EQ(SummarySheet("Q1AA"), file->body);
  EXPECT_EQ("attachment; filename=\"Q1AA.sum\"", file->get_header_value("Content-Disposition"));

  const auto publish = client_->Post("/admin/publish", session, httplib::Params{{"csrf", token}});
  ASSERT_EQ(303, publish->status);
  const auto report = client_->Get("/admin", session);
  EXPECT_NE(std::string::npos, report->body.find(": published\nstats-check: contest period: "))
      << report->body;
  const auto results = client_->Get("/results/");
  ASSERT_EQ(200, results->status);
  EXPECT_NE(std::string::npos, results->body.find("Q1AA"));
  // One policy, the results' own: two would both apply and block its style.
  ASSERT_EQ(1u, results->get_header_value_count("Content-Security-Policy"));
  EXPECT_EQ("default-src 'none'; style-src 'unsafe-inline'; form-action 'none'; base-uri 'none'; "
            "frame-ancestors 'none'",
            results->get_header_value("Content-Security-Policy"));
  const auto station = client_->Get("/results/stations/Q1AA.html");
  EXPECT_EQ(200, station->status);
  EXPECT_EQ("text/html; charset=utf-8", station->get_header_value("Content-Type"));
  EXPECT_EQ(404, client_->Get("/results/../robot.db")->status);
}

}  // namespace
