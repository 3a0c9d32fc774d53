#include "robot_store.h"

#include <sqlite3.h>

#include <sstream>
#include <stdexcept>

namespace {

constexpr char kSchema[] = R"(
CREATE TABLE IF NOT EXISTS uploads(
  id INTEGER PRIMARY KEY, call TEXT NOT NULL, email TEXT NOT NULL, power TEXT NOT NULL,
  club TEXT NOT NULL, address TEXT NOT NULL, receipt TEXT NOT NULL UNIQUE,
  received INTEGER NOT NULL, qsos INTEGER NOT NULL, claimed TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS uploads_by_call ON uploads(call, id);
CREATE TABLE IF NOT EXISTS upload_files(
  upload INTEGER NOT NULL REFERENCES uploads(id), position INTEGER NOT NULL,
  name TEXT NOT NULL, sha256 TEXT NOT NULL, bytes BLOB NOT NULL,
  PRIMARY KEY(upload, position));
CREATE TABLE IF NOT EXISTS refusals(
  id INTEGER PRIMARY KEY, call TEXT NOT NULL, address TEXT NOT NULL,
  received INTEGER NOT NULL, problems TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS refusals_by_call ON refusals(call, id);
CREATE TABLE IF NOT EXISTS settings(key TEXT PRIMARY KEY, value BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS published(name TEXT PRIMARY KEY, bytes BLOB NOT NULL);
)";

// A prepared statement, finalised when it goes.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      throw std::runtime_error(std::string("database: ") + sqlite3_errmsg(db));
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int i, const std::string& text) {
    Check(sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
    return *this;
  }
  Statement& BindBlob(int i, const std::string& bytes) {
    Check(sqlite3_bind_blob64(stmt_, i, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
    return *this;
  }
  Statement& Bind(int i, std::int64_t value) {
    Check(sqlite3_bind_int64(stmt_, i, value));
    return *this;
  }
  // True while a row is there to read.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
      return true;
    }
    if (rc != SQLITE_DONE) {
      throw std::runtime_error(std::string("database: ") + sqlite3_errmsg(db_));
    }
    return false;
  }
  std::string Text(int i) const {
    const void* p = sqlite3_column_blob(stmt_, i);
    const int n = sqlite3_column_bytes(stmt_, i);
    return p == nullptr ? std::string() : std::string(static_cast<const char*>(p), n);
  }
  std::int64_t Int(int i) const { return sqlite3_column_int64(stmt_, i); }

 private:
  void Check(int rc) {
    if (rc != SQLITE_OK) {
      throw std::runtime_error(std::string("database: ") + sqlite3_errmsg(db_));
    }
  }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

void Execute(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "unknown error";
    sqlite3_free(message);
    throw std::runtime_error("database: " + text);
  }
}

// A transaction that is rolled back unless committed.
class Transaction {
 public:
  explicit Transaction(sqlite3* db) : db_(db) { Execute(db_, "BEGIN IMMEDIATE"); }
  ~Transaction() {
    if (!done_) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }
  void Commit() {
    Execute(db_, "COMMIT");
    done_ = true;
  }

 private:
  sqlite3* db_;
  bool done_ = false;
};

std::string TableText(const tools::ScoreTable& t) {
  std::ostringstream out;
  for (const auto* row : {&t.qsos, &t.prefixes, &t.scores}) {
    for (const std::int64_t v : *row) {
      out << v << ' ';
    }
  }
  return out.str();
}

tools::ScoreTable TableOfText(const std::string& text) {
  tools::ScoreTable t;
  std::istringstream in(text);
  for (auto* row : {&t.qsos, &t.prefixes, &t.scores}) {
    for (std::int64_t& v : *row) {
      in >> v;
    }
  }
  return t;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

}  // namespace

RobotStore::~RobotStore() { sqlite3_close_v2(db_); }

bool RobotStore::Open(const std::string& path, std::string& error) {
  if (sqlite3_open_v2(path.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    error = "cannot open " + path + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory");
    return false;
  }
  try {
    sqlite3_busy_timeout(db_, 10000);
    Execute(db_, "PRAGMA journal_mode=WAL");
    Execute(db_, "PRAGMA synchronous=FULL");
    Execute(db_, "PRAGMA foreign_keys=ON");
    Execute(db_, kSchema);
  } catch (const std::exception& e) {
    error = "cannot use " + path + ": " + e.what();
    return false;
  }
  return true;
}

void RobotStore::AddUpload(UploadRecord& upload, const std::function<std::string()>& newReceipt) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
  for (int attempt = 0;; ++attempt) {
    upload.receipt = newReceipt();
    Statement taken(db_, "SELECT 1 FROM uploads WHERE receipt = ?");
    if (!taken.Bind(1, upload.receipt).Step()) {
      break;
    }
    if (attempt == 10) {
      throw std::runtime_error("no free receipt code");
    }
  }
  Statement insert(db_,
                   "INSERT INTO uploads(call, email, power, club, address, receipt, received, "
                   "qsos, claimed) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.Bind(1, upload.call).Bind(2, upload.email).Bind(3, upload.power).Bind(4, upload.club);
  insert.Bind(5, upload.address).Bind(6, upload.receipt).Bind(7, upload.received);
  insert.Bind(8, upload.qsos).Bind(9, TableText(upload.claimed)).Step();
  upload.id = sqlite3_last_insert_rowid(db_);
  for (std::size_t i = 0; i < upload.files.size(); ++i) {
    const StoredFile& f = upload.files[i];
    Statement file(db_,
                   "INSERT INTO upload_files(upload, position, name, sha256, bytes) "
                   "VALUES(?, ?, ?, ?, ?)");
    file.Bind(1, upload.id).Bind(2, static_cast<std::int64_t>(i)).Bind(3, f.name);
    file.Bind(4, f.sha256).BindBlob(5, f.bytes).Step();
  }
  transaction.Commit();
}

void RobotStore::AddRefusal(RefusalRecord& refusal) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement insert(db_,
                   "INSERT INTO refusals(call, address, received, problems) VALUES(?, ?, ?, ?)");
  insert.Bind(1, refusal.call).Bind(2, refusal.address).Bind(3, refusal.received);
  insert.Bind(4, JoinLines(refusal.problems)).Step();
  refusal.id = sqlite3_last_insert_rowid(db_);
}

std::vector<UploadRecord> RobotStore::Uploads(const std::string& where, const std::string& bind,
                                              bool withBytes) {
  std::vector<UploadRecord> uploads;
  const std::string sql =
      "SELECT id, call, email, power, club, address, receipt, received, qsos, claimed "
      "FROM uploads " +
      where;
  Statement select(db_, sql.c_str());
  if (!bind.empty()) {
    select.Bind(1, bind);
  }
  while (select.Step()) {
    UploadRecord u;
    u.id = select.Int(0);
    u.call = select.Text(1);
    u.email = select.Text(2);
    u.power = select.Text(3);
    u.club = select.Text(4);
    u.address = select.Text(5);
    u.receipt = select.Text(6);
    u.received = select.Int(7);
    u.qsos = select.Int(8);
    u.claimed = TableOfText(select.Text(9));
    uploads.push_back(std::move(u));
  }
  for (UploadRecord& u : uploads) {
    Statement files(db_, withBytes ? "SELECT name, sha256, length(bytes), bytes FROM upload_files "
                                     "WHERE upload = ? ORDER BY position"
                                   : "SELECT name, sha256, length(bytes) FROM upload_files "
                                     "WHERE upload = ? ORDER BY position");
    files.Bind(1, u.id);
    while (files.Step()) {
      StoredFile f;
      f.name = files.Text(0);
      f.sha256 = files.Text(1);
      f.size = files.Int(2);
      if (withBytes) {
        f.bytes = files.Text(3);
      }
      u.files.push_back(std::move(f));
    }
  }
  return uploads;
}

std::vector<UploadRecord> RobotStore::Latest(bool withBytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Uploads("WHERE id IN (SELECT max(id) FROM uploads GROUP BY call) ORDER BY call", "",
                 withBytes);
}

std::vector<UploadRecord> RobotStore::History(const std::string& call) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Uploads("WHERE call = ? ORDER BY id DESC", call, false);
}

std::vector<RefusalRecord> RobotStore::Refusals(const std::optional<std::string>& call,
                                                int limit) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, call ? "SELECT id, call, address, received, problems FROM refusals "
                               "WHERE call = ? ORDER BY id DESC LIMIT ?"
                             : "SELECT id, call, address, received, problems FROM refusals "
                               "ORDER BY id DESC LIMIT ?");
  if (call) {
    select.Bind(1, *call).Bind(2, std::int64_t{limit});
  } else {
    select.Bind(1, std::int64_t{limit});
  }
  std::vector<RefusalRecord> refusals;
  while (select.Step()) {
    RefusalRecord r;
    r.id = select.Int(0);
    r.call = select.Text(1);
    r.address = select.Text(2);
    r.received = select.Int(3);
    r.problems = SplitLines(select.Text(4));
    refusals.push_back(std::move(r));
  }
  return refusals;
}

std::optional<StoredFile> RobotStore::File(std::int64_t upload, int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_,
                   "SELECT name, sha256, bytes FROM upload_files WHERE upload = ? AND "
                   "position = ?");
  if (!select.Bind(1, upload).Bind(2, std::int64_t{index}).Step()) {
    return std::nullopt;
  }
  StoredFile f;
  f.name = select.Text(0);
  f.sha256 = select.Text(1);
  f.bytes = select.Text(2);
  f.size = static_cast<std::int64_t>(f.bytes.size());
  return f;
}

std::map<std::string, int> RobotStore::CountsByCall(bool refusals) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, refusals ? "SELECT call, count(*) FROM refusals GROUP BY call"
                                 : "SELECT call, count(*) FROM uploads GROUP BY call");
  std::map<std::string, int> counts;
  while (select.Step()) {
    counts[select.Text(0)] = static_cast<int>(select.Int(1));
  }
  return counts;
}

std::optional<std::string> RobotStore::Setting(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, "SELECT value FROM settings WHERE key = ?");
  if (!select.Bind(1, key).Step()) {
    return std::nullopt;
  }
  return select.Text(0);
}

void RobotStore::SetSetting(const std::string& key, const std::string& value) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement upsert(db_, "INSERT OR REPLACE INTO settings(key, value) VALUES(?, ?)");
  upsert.Bind(1, key).BindBlob(2, value).Step();
}

void RobotStore::ReplacePublished(const std::vector<std::pair<std::string, std::string>>& files) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(db_);
  Execute(db_, "DELETE FROM published");
  for (const auto& [name, bytes] : files) {
    Statement insert(db_, "INSERT INTO published(name, bytes) VALUES(?, ?)");
    insert.Bind(1, name).BindBlob(2, bytes).Step();
  }
  transaction.Commit();
}

std::optional<std::string> RobotStore::Published(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, "SELECT bytes FROM published WHERE name = ?");
  if (!select.Bind(1, name).Step()) {
    return std::nullopt;
  }
  return select.Text(0);
}
