#include "robot_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "platform/text.h"
#include "tools/common/contest_time.h"
#include "plugin_scorer.h"
#include "robot_limits.h"
#include "robot_pages.h"
#include "robot_security.h"
#include "robot_store.h"
#include "tools/check/contest_logs.h"
#include "tools/check/shown_text.h"

namespace {

// Nothing but the robot's own style sheet and forms; no script at all.
constexpr char kPagePolicy[] =
    "default-src 'none'; style-src 'self'; form-action 'self'; base-uri 'none'; "
    "frame-ancestors 'none'";
// The published pages carry their style inside (and style attributes).
constexpr char kResultsPolicy[] =
    "default-src 'none'; style-src 'unsafe-inline'; form-action 'none'; base-uri 'none'; "
    "frame-ancestors 'none'";
constexpr char kFormCookie[] = "robot_form";
constexpr char kSessionCookie[] = "robot_session";
constexpr std::int64_t kSessionSeconds = 8 * 3600;
constexpr std::size_t kMaxSessions = 64;
// Connections taken while every worker is busy, before the accepting waits.
constexpr std::size_t kMaxWaitingConnections = 512;
constexpr int kListenBacklog = 512;
constexpr char kHtml[] = "text/html; charset=utf-8";

// A fixed number of workers and a bounded queue: when it is full the
// accepting thread waits, and further connections wait in the system's queue.
class BoundedPool : public httplib::TaskQueue {
 public:
  BoundedPool(std::size_t threads, std::size_t maxWaiting) : maxWaiting_(maxWaiting) {
    for (std::size_t i = 0; i < threads; ++i) {
      threads_.emplace_back([this] { Work(); });
    }
  }
  void enqueue(std::function<void()> fn) override {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [this] { return jobs_.size() < maxWaiting_ || stopping_; });
    jobs_.push_back(std::move(fn));
    work_.notify_one();
  }
  void shutdown() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    work_.notify_all();
    room_.notify_all();
    for (std::thread& t : threads_) {
      t.join();
    }
  }

 private:
  void Work() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        work_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) {
          return;
        }
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      room_.notify_one();
      job();
    }
  }
  const std::size_t maxWaiting_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable room_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

std::string CookieOf(const httplib::Request& req, const std::string& name) {
  const std::string header = req.get_header_value("Cookie");
  std::size_t at = 0;
  while (at < header.size()) {
    std::size_t end = header.find(';', at);
    if (end == std::string::npos) {
      end = header.size();
    }
    const std::string_view pair = TrimWhiteSpace(std::string_view(header).substr(at, end - at));
    const std::size_t eq = pair.find('=');
    if (eq != std::string_view::npos && pair.substr(0, eq) == name) {
      return std::string(pair.substr(eq + 1));
    }
    at = end + 1;
  }
  return std::string();
}

// The text of a form field: a multipart part or a urlencoded parameter.
std::string FieldOf(const httplib::Request& req, const std::string& name) {
  const auto part = req.files.find(name);
  if (part != req.files.end()) {
    return part->second.content;
  }
  return req.get_param_value(name);
}

void Answer(httplib::Response& res, int status, const std::string& html) {
  res.status = status;
  res.set_content(html, kHtml);
}

void Redirect(httplib::Response& res, const std::string& to) {
  res.status = 303;
  res.set_header("Location", to);
}

std::string StatusTitle(int status) {
  switch (status) {
    case 400: return "Bad request";
    case 403: return "Refused";
    case 404: return "Not found";
    case 405: return "Not allowed";
    case 413: return "Too large";
    case 429: return "Too many requests";
    default: return status >= 500 ? "Something went wrong" : "Refused";
  }
}

std::string StatusText(int status) {
  switch (status) {
    case 404: return "There is no such page here.";
    case 413:
      return "A request may hold at most " + std::to_string(kMaxRequestBytes >> 20) +
             " MiB: send fewer or smaller files.";
    case 414: return "The address is too long.";
    default:
      return status >= 500 ? "The robot could not answer this request; nothing was stored. "
                             "Please try again later."
                           : "The request cannot be answered.";
  }
}

std::string SafeDownloadName(const std::string& name) {
  std::string out;
  for (const char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_' || c == ' ';
    out += plain ? c : '_';
  }
  return out.empty() ? "file" : out;
}

bool ParseIndex(const std::string& text, std::int64_t& out) {
  if (text.empty() || text.size() > 18) {
    return false;
  }
  out = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
    out = out * 10 + (c - '0');
  }
  return true;
}

}  // namespace

struct RobotServer::Impl {
  Impl(RobotConfig c, RobotStore& s, PluginScorer& p)
      : config(std::move(c)),
        store(s),
        scorer(p),
        uploads(config.uploadsPerHour, 3600),
        logins(config.loginsPerQuarter, 900) {}

  RobotConfig config;
  RobotStore& store;
  PluginScorer& scorer;
  httplib::Server server;
  RateLimit uploads;
  RateLimit logins;
  std::string formKey;
  int port = 0;
  int listenSocket = -1;

  std::mutex sessionsMutex;
  std::map<std::string, std::int64_t> sessions;  // id -> expiry
  std::mutex passwordMutex;                      // one slow hash at a time
  std::mutex publishMutex;
  std::mutex reportMutex;
  std::string publishReport;

  std::int64_t Now() const {
    if (config.now) {
      return config.now();
    }
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }

  ContestTexts Contest() const {
    ContestTexts t;
    t.period = PeriodText(config.period);
    if (config.deadlineMinute) {
      t.deadline = MinuteText(*config.deadlineMinute);
      t.closed = MinuteOfUnixTime(Now()) > *config.deadlineMinute;
    }
    return t;
  }

  std::string AddressOf(const httplib::Request& req) const {
    if (config.behindProxy) {
      const std::string forwarded = req.get_header_value("X-Forwarded-For");
      const std::size_t comma = forwarded.rfind(',');
      const std::string last(
          TrimWhiteSpace(comma == std::string::npos ? forwarded : forwarded.substr(comma + 1)));
      if (!last.empty()) {
        return ShownText(last, 45);
      }
    }
    return req.remote_addr;
  }

  std::string CookieAttributes() const {
    return std::string("; Path=/; HttpOnly; SameSite=Strict") +
           (config.behindProxy ? "; Secure" : "");
  }

  // The browser's form cookie, made when it has none; the token of its forms.
  std::string FormTokenFor(const httplib::Request& req, httplib::Response& res) {
    std::string cookie = CookieOf(req, kFormCookie);
    if (cookie.size() != 32) {
      cookie = RandomHex(16);
      res.set_header("Set-Cookie", std::string(kFormCookie) + "=" + cookie + CookieAttributes());
    }
    return FormToken(formKey, std::string("form:") + cookie);
  }

  bool FormTokenValid(const httplib::Request& req) const {
    const std::string cookie = CookieOf(req, kFormCookie);
    return cookie.size() == 32 &&
           FormTokenMatches(formKey, std::string("form:") + cookie, FieldOf(req, "csrf"));
  }

  // The session of the request, or empty.
  std::string SessionOf(const httplib::Request& req) {
    const std::string id = CookieOf(req, kSessionCookie);
    std::lock_guard<std::mutex> lock(sessionsMutex);
    const auto found = sessions.find(id);
    if (id.empty() || found == sessions.end()) {
      return std::string();
    }
    if (found->second < Now()) {
      sessions.erase(found);
      return std::string();
    }
    return id;
  }

  std::string SessionToken(const std::string& session) const {
    return FormToken(formKey, "session:" + session);
  }

  // The sponsor's session, or a redirect to the login (or a refusal of a
  // form without the session's token) and empty.
  std::string RequireSession(const httplib::Request& req, httplib::Response& res, bool form) {
    const std::string session = SessionOf(req);
    if (session.empty()) {
      Redirect(res, "/admin/login");
      return std::string();
    }
    if (form && !FormTokenMatches(formKey, "session:" + session, FieldOf(req, "csrf"))) {
      Answer(res, 403, MessagePage("Refused", "The form did not come from this back office."));
      return std::string();
    }
    return session;
  }

  void Routes();
  void Upload(const httplib::Request& req, httplib::Response& res);
  void Login(const httplib::Request& req, httplib::Response& res);
  void Admin(const httplib::Request& req, httplib::Response& res);
  void Publish(const httplib::Request& req, httplib::Response& res);
  void Results(const std::string& name, httplib::Response& res);
};

void RobotServer::Impl::Upload(const httplib::Request& req, httplib::Response& res) {
  if (!FormTokenValid(req)) {
    Answer(res, 403,
           MessagePage("Refused", "The form has expired or did not come from this robot: load "
                                  "the upload page again and send it from there."));
    return;
  }
  const std::string address = AddressOf(req);
  if (!uploads.Allow(address, Now())) {
    Answer(res, 429,
           MessagePage("Too many uploads", "This address has sent " +
                                               std::to_string(config.uploadsPerHour) +
                                               " uploads within the hour; please wait."));
    return;
  }
  const ContestTexts contest = Contest();
  if (contest.closed) {
    Answer(res, 403,
           MessagePage("Deadline passed", "Logs were taken until " + contest.deadline +
                                              " UTC; this upload came too late and was not "
                                              "stored."));
    return;
  }
  UploadForm form;
  form.call = FieldOf(req, "call");
  form.email = FieldOf(req, "email");
  form.power = FieldOf(req, "power");
  form.club = FieldOf(req, "club");
  const auto range = req.files.equal_range("files");
  for (auto it = range.first; it != range.second; ++it) {
    form.files.push_back(SubmittedFile{it->second.filename, it->second.content});
  }
  CheckedUpload checked = CheckUpload(std::move(form), config.period);
  if (checked.problems.empty()) {
    const std::optional<tools::ScoreTable> claimed =
        scorer.Score(checked.call, checked.contacts, checked.firstDay, checked.lastDay);
    if (!claimed) {
      checked.problems.push_back("the contest's plug-in could not score this log");
    } else {
      UploadRecord u;
      u.call = checked.call;
      u.email = checked.email;
      u.power = checked.power;
      u.club = checked.club;
      u.address = address;
      u.received = Now();
      u.qsos = static_cast<std::int64_t>(checked.contacts.size());
      u.claimed = *claimed;
      for (SubmittedFile& f : checked.files) {
        StoredFile stored;
        stored.sha256 = Sha256Hex(f.bytes);
        stored.size = static_cast<std::int64_t>(f.bytes.size());
        stored.name = std::move(f.name);
        stored.bytes = std::move(f.bytes);
        u.files.push_back(std::move(stored));
      }
      const std::vector<UploadRecord> earlier = store.History(u.call);
      store.AddUpload(u, NewReceiptCode);
      std::fprintf(stderr, "stats-robot: %s: %s received from %s, receipt %s\n",
                   UtcText(u.received).c_str(), u.call.c_str(), address.c_str(),
                   u.receipt.c_str());
      Answer(res, 200,
             ReceiptPage(u, earlier.empty() ? std::nullopt
                                            : std::optional<std::int64_t>(earlier.front().received)));
      return;
    }
  }
  RefusalRecord refusal;
  refusal.call = ShownText(ToUpperAscii(TrimWhiteSpace(FieldOf(req, "call"))));
  refusal.address = address;
  refusal.received = Now();
  refusal.problems = checked.problems;
  store.AddRefusal(refusal);
  Answer(res, 422, RefusalPage(refusal.call, refusal.problems));
}

void RobotServer::Impl::Login(const httplib::Request& req, httplib::Response& res) {
  const bool passwordSet = store.Setting("password").has_value();
  if (!FormTokenValid(req)) {
    Answer(res, 403, LoginPage(FormTokenFor(req, res),
                               "The form has expired or did not come from this robot.",
                               passwordSet));
    return;
  }
  if (!logins.Allow(AddressOf(req), Now())) {
    Answer(res, 429, LoginPage(FormTokenFor(req, res),
                               "Too many attempts from this address: wait a quarter of an hour.",
                               passwordSet));
    return;
  }
  bool matches = false;
  if (const std::optional<std::string> stored = store.Setting("password")) {
    std::lock_guard<std::mutex> lock(passwordMutex);
    matches = PasswordMatches(*stored, FieldOf(req, "password"));
  }
  if (!matches) {
    std::fprintf(stderr, "stats-robot: %s: failed login from %s\n", UtcText(Now()).c_str(),
                 AddressOf(req).c_str());
    Answer(res, 403, LoginPage(FormTokenFor(req, res), "Wrong password.", passwordSet));
    return;
  }
  const std::string id = RandomHex(32);
  {
    std::lock_guard<std::mutex> lock(sessionsMutex);
    const std::int64_t now = Now();
    for (auto it = sessions.begin(); it != sessions.end();) {
      it = it->second < now ? sessions.erase(it) : std::next(it);
    }
    while (sessions.size() >= kMaxSessions) {
      auto oldest = sessions.begin();
      for (auto it = sessions.begin(); it != sessions.end(); ++it) {
        if (it->second < oldest->second) {
          oldest = it;
        }
      }
      sessions.erase(oldest);
    }
    sessions[id] = now + kSessionSeconds;
  }
  res.set_header("Set-Cookie", std::string(kSessionCookie) + "=" + id + CookieAttributes());
  Redirect(res, "/admin");
}

void RobotServer::Impl::Admin(const httplib::Request& req, httplib::Response& res) {
  const std::string session = RequireSession(req, res, false);
  if (session.empty()) {
    return;
  }
  const std::map<std::string, int> uploadCounts = store.CountsByCall(false);
  const std::map<std::string, int> refusalCounts = store.CountsByCall(true);
  std::vector<StationLine> stations;
  for (UploadRecord& u : store.Latest()) {
    StationLine line;
    line.uploads = uploadCounts.count(u.call) ? uploadCounts.at(u.call) : 0;
    line.refusals = refusalCounts.count(u.call) ? refusalCounts.at(u.call) : 0;
    line.latest = std::move(u);
    stations.push_back(std::move(line));
  }
  std::string report;
  {
    std::lock_guard<std::mutex> lock(reportMutex);
    report = publishReport;
  }
  Answer(res, 200,
         AdminPage(stations, store.Refusals(std::nullopt, 200), SessionToken(session), report));
}

void RobotServer::Impl::Publish(const httplib::Request& req, httplib::Response& res) {
  if (RequireSession(req, res, true).empty()) {
    return;
  }
  std::unique_lock<std::mutex> running(publishMutex, std::try_to_lock);
  if (!running.owns_lock()) {
    Answer(res, 409, MessagePage("A check is running", "Wait for it to finish."));
    return;
  }
  std::string report;
  const bool published = CheckAndPublish(store, config.publish, report);
  std::fprintf(stderr, "stats-robot: %s: check and publish %s\n", UtcText(Now()).c_str(),
               published ? "done" : "failed");
  {
    std::lock_guard<std::mutex> lock(reportMutex);
    publishReport = UtcText(Now()) + (published ? ": published\n" : ": not published\n") + report;
  }
  Redirect(res, "/admin");
}

void RobotServer::Impl::Results(const std::string& name, httplib::Response& res) {
  const std::optional<std::string> bytes = store.Published(name);
  if (!bytes) {
    Answer(res, 404,
           MessagePage("Not found", name == "index.html"
                                        ? "The results have not been published yet."
                                        : "There is no such page in the results."));
    return;
  }
  res.set_header("Content-Security-Policy", kResultsPolicy);
  res.set_content(*bytes, PublishedContentType(name).c_str());
}

void RobotServer::Impl::Routes() {
  server.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
    Answer(res, 200, UploadPage(Contest(), FormTokenFor(req, res)));
  });
  server.Post("/upload", [this](const httplib::Request& req, httplib::Response& res) {
    Upload(req, res);
  });
  server.Get("/received", [this](const httplib::Request&, httplib::Response& res) {
    Answer(res, 200, ReceivedPage(store.Latest(), Contest()));
  });
  server.Get("/style.css", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(StyleSheet(), "text/css; charset=utf-8");
  });
  server.Get("/admin/login", [this](const httplib::Request& req, httplib::Response& res) {
    Answer(res, 200, LoginPage(FormTokenFor(req, res), "", store.Setting("password").has_value()));
  });
  server.Post("/admin/login", [this](const httplib::Request& req, httplib::Response& res) {
    Login(req, res);
  });
  server.Post("/admin/logout", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string session = RequireSession(req, res, true);
    if (!session.empty()) {
      std::lock_guard<std::mutex> lock(sessionsMutex);
      sessions.erase(session);
      res.set_header("Set-Cookie", std::string(kSessionCookie) + "=; Max-Age=0" +
                                       CookieAttributes());
      Redirect(res, "/");
    }
  });
  server.Get("/admin", [this](const httplib::Request& req, httplib::Response& res) {
    Admin(req, res);
  });
  server.Get("/admin/station", [this](const httplib::Request& req, httplib::Response& res) {
    if (RequireSession(req, res, false).empty()) {
      return;
    }
    const std::string call = req.get_param_value("call");
    Answer(res, 200,
           AdminStationPage(call, store.History(call), store.Refusals(call, 1000)));
  });
  server.Get("/admin/file", [this](const httplib::Request& req, httplib::Response& res) {
    if (RequireSession(req, res, false).empty()) {
      return;
    }
    std::int64_t upload = 0;
    std::int64_t index = 0;
    std::optional<StoredFile> file;
    if (ParseIndex(req.get_param_value("upload"), upload) &&
        ParseIndex(req.get_param_value("file"), index) && index < 1000) {
      file = store.File(upload, static_cast<int>(index));
    }
    if (!file) {
      Answer(res, 404, MessagePage("Not found", "There is no such file."));
      return;
    }
    res.set_header("Content-Disposition",
                   "attachment; filename=\"" + SafeDownloadName(file->name) + "\"");
    res.set_content(file->bytes, "application/octet-stream");
  });
  server.Post("/admin/publish", [this](const httplib::Request& req, httplib::Response& res) {
    Publish(req, res);
  });
  server.Get("/results", [](const httplib::Request&, httplib::Response& res) {
    Redirect(res, "/results/");
  });
  server.Get("/results/", [this](const httplib::Request&, httplib::Response& res) {
    Results("index.html", res);
  });
  server.Get(R"(/results/(.+))", [this](const httplib::Request& req, httplib::Response& res) {
    Results(req.matches[1].str(), res);
  });
}

RobotServer::RobotServer(RobotConfig config, RobotStore& store, PluginScorer& scorer)
    : impl_(std::make_unique<Impl>(std::move(config), store, scorer)) {
  Impl& s = *impl_;
  if (const std::optional<std::string> key = store.Setting("form_key"); key && key->size() == 32) {
    s.formKey = *key;
  } else {
    // Kept, so that a form opened before a restart still goes through.
    std::string fresh = RandomHex(16);
    s.formKey = fresh;
    store.SetSetting("form_key", fresh);
  }
  const std::size_t threads = static_cast<std::size_t>(s.config.threads);
  s.server.new_task_queue = [threads] { return new BoundedPool(threads, kMaxWaitingConnections); };
  s.server.set_payload_max_length(kMaxRequestBytes);
  s.server.set_read_timeout(10, 0);
  s.server.set_write_timeout(10, 0);
  // A kept-alive connection would hold its worker while it idles: each
  // connection answers one request and is closed.
  s.server.set_keep_alive_max_count(1);
  // The policy is set per answer (the library would add a default one beside
  // the published pages' own): after routing, and on every error.
  s.server.set_post_routing_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.has_header("Content-Security-Policy")) {
      res.set_header("Content-Security-Policy", kPagePolicy);
    }
  });
  s.server.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                                {"X-Frame-Options", "DENY"},
                                {"Referrer-Policy", "no-referrer"},
                                {"Cache-Control", "no-store"}});
  s.server.set_socket_options([&s](int sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    s.listenSocket = sock;
  });
  s.server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.has_header("Content-Security-Policy")) {
      res.set_header("Content-Security-Policy", kPagePolicy);
    }
    if (res.body.empty()) {
      res.set_content(MessagePage(StatusTitle(res.status), StatusText(res.status)), kHtml);
    }
  });
  s.server.set_exception_handler(
      [&s](const httplib::Request& req, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "unknown";
        try {
          std::rethrow_exception(ep);
        } catch (const std::exception& e) {
          what = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "stats-robot: %s: %s %s failed: %s\n", UtcText(s.Now()).c_str(),
                     req.method.c_str(), ShownText(req.path, 80).c_str(),
                     ShownText(what, 300).c_str());
        res.headers.clear();
        res.set_header("Content-Security-Policy", kPagePolicy);
        Answer(res, 500, MessagePage(StatusTitle(500), StatusText(500)));
      });
  s.Routes();
}

RobotServer::~RobotServer() = default;

bool RobotServer::Bind(const std::string& host, int port, std::string& error) {
  Impl& s = *impl_;
  if (port == 0) {
    s.port = s.server.bind_to_any_port(host);
  } else {
    s.port = s.server.bind_to_port(host, port) ? port : -1;
  }
  if (s.port <= 0) {
    error = "cannot listen on " + host + ":" + std::to_string(port);
    return false;
  }
  // The library listens with a short queue; a burst of clients needs more.
  if (s.listenSocket >= 0) {
    ::listen(s.listenSocket, kListenBacklog);
  }
  return true;
}

int RobotServer::Port() const { return impl_->port; }

void RobotServer::Run() { impl_->server.listen_after_bind(); }

void RobotServer::Stop() { impl_->server.stop(); }
