// All the robot's state in one SQLite database (DIR/robot.db): every upload
// with its files, every refused attempt, the settings (the password's hash,
// the form key) and the results last published. Written ahead (WAL) and
// synced at every commit (synchronous=FULL), so an upload the robot answered
// with a receipt survives a crash or a power cut, and one it did not answer
// is there whole or not at all.
//
// One connection, its calls serialised by a mutex: safe on any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/common/score_table.h"

struct sqlite3;

struct StoredFile {
  std::string name;  // as sent (a name, never a path)
  std::string sha256;
  std::string bytes;  // empty where only the list was asked for
  std::int64_t size = 0;
};

struct UploadRecord {
  std::int64_t id = 0;
  std::string call;  // in capitals
  std::string email;
  std::string power;  // HIGH, LOW or QRP
  std::string club;
  std::string address;
  std::string receipt;
  std::int64_t received = 0;  // seconds since 1970, UTC
  std::int64_t qsos = 0;
  tools::ScoreTable claimed;
  std::vector<StoredFile> files;
};

struct RefusalRecord {
  std::int64_t id = 0;
  std::string call;  // as typed, made safe to show
  std::string address;
  std::int64_t received = 0;
  std::vector<std::string> problems;
};

class RobotStore {
 public:
  RobotStore() = default;
  ~RobotStore();
  RobotStore(const RobotStore&) = delete;
  RobotStore& operator=(const RobotStore&) = delete;

  // Opens (or makes) the database at `path`. False, with the reason.
  bool Open(const std::string& path, std::string& error);

  // Stores an upload and its files in one transaction that is on the disk
  // when this returns; sets its id, and its receipt from `newReceipt` (asked
  // again in the unlikely case the code is taken). Throws when it cannot be
  // stored; nothing of it is then kept.
  void AddUpload(UploadRecord& upload, const std::function<std::string()>& newReceipt);
  void AddRefusal(RefusalRecord& refusal);

  // Each call's latest upload (files listed, no bytes), in call order.
  std::vector<UploadRecord> Latest(bool withBytes = false);
  // A call's uploads, newest first (files listed, no bytes).
  std::vector<UploadRecord> History(const std::string& call);
  // The refused attempts, newest first: all, or those typed with `call`.
  std::vector<RefusalRecord> Refusals(const std::optional<std::string>& call, int limit);
  std::optional<StoredFile> File(std::int64_t upload, int index);
  // How many uploads (or refused attempts) each call has.
  std::map<std::string, int> CountsByCall(bool refusals);

  std::optional<std::string> Setting(const std::string& key);
  void SetSetting(const std::string& key, const std::string& value);

  // Replaces the published results with `files` (name, bytes) in one go.
  void ReplacePublished(const std::vector<std::pair<std::string, std::string>>& files);
  std::optional<std::string> Published(const std::string& name);

 private:
  std::vector<UploadRecord> Uploads(const std::string& where, const std::string& bind,
                                    bool withBytes);
  std::mutex mutex_;
  sqlite3* db_ = nullptr;
};
