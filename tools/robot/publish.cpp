#include "publish.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include "tools/check/contest_logs.h"
#include "tools/common/read_whole_file.h"
#include "tools/common/write_whole_file.h"
#include "tools/check/shown_text.h"
#include "tools/check/submitted_log.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// What the checker says is shown to the sponsor: its last lines.
constexpr std::size_t kReportLines = 40;
// A published file larger than this is not taken (the whole set of a
// 2,000-station contest is about 200 MB, verdicts.tsv most of it).
constexpr std::size_t kMaxPublishedBytes = std::size_t{512} << 20;

// Only a name of one part that is no folder's name can become a file.
bool SafeFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

std::string LastLines(const std::string& text) {
  std::size_t at = text.size();
  for (std::size_t n = 0; n <= kReportLines && at > 0; ++n) {
    at = text.rfind('\n', at - 1);
    if (at == std::string::npos) {
      at = 0;
      break;
    }
  }
  std::string shown;
  ForEachTextLine(std::string_view(text).substr(at == 0 ? 0 : at + 1),
                  [&](int, std::string_view line) { shown += ShownText(line, 400) + "\n"; });
  return shown;
}

// Runs `args` with its output into `output`; its exit code, or -1 when it
// could not be started, ran out of time or was ended by a signal.
int Run(const std::vector<std::string>& args, const fs::path& output, int timeoutSeconds,
        std::string& error) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::vector<char*> argv;
  for (const std::string& a : args) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    error = "cannot start " + args[0] + ": " + std::strerror(rc);
    return -1;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      break;
    }
    if (done < 0 && errno != EINTR) {
      error = "lost the checker: " + std::string(std::strerror(errno));
      return -1;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      error = "the check took longer than " + std::to_string(timeoutSeconds) + " s and was stopped";
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!WIFEXITED(status)) {
    error = "the checker ended abnormally";
    return -1;
  }
  return WEXITSTATUS(status);
}

// Every regular file below `folder` (followed through the link stats-check
// publishes), named by its path below it with "/".
bool CollectResults(const fs::path& folder, std::vector<std::pair<std::string, std::string>>& files,
                    std::string& error) {
  std::error_code ec;
  const fs::path root = fs::canonical(folder, ec);
  if (ec) {
    error = "the checker published nothing";
    return false;
  }
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) {
      continue;
    }
    std::string bytes;
    if (!ReadRegularFile(it->path().string(), kMaxPublishedBytes, bytes, error)) {
      error = "cannot read " + it->path().string() + ": " + error;
      return false;
    }
    files.emplace_back(fs::relative(it->path(), root).generic_string(), std::move(bytes));
  }
  if (ec) {
    error = "cannot list the results: " + ec.message();
    return false;
  }
  return true;
}

}  // namespace

bool ExportLatest(RobotStore& store, const fs::path& out, std::string& error, int* stations) {
  std::error_code ec;
  if (fs::exists(out, ec) && !fs::is_empty(out, ec)) {
    error = out.string() + " is not empty";
    return false;
  }
  const std::vector<UploadRecord> latest = store.Latest(true);
  for (const UploadRecord& u : latest) {
    const fs::path folder = out / StationFileWord(u.call);
    fs::create_directories(folder, ec);
    if (ec) {
      error = "cannot make " + folder.string() + ": " + ec.message();
      return false;
    }
    for (const StoredFile& f : u.files) {
      if (!SafeFileName(f.name)) {
        continue;  // never taken at upload; a database edited by hand
      }
      std::string reason;
      if (!SaveWholeFile((folder / f.name).string(), f.bytes, Durability::kWritten, reason)) {
        error = "cannot write " + (folder / f.name).string() + ": " + reason;
        return false;
      }
    }
  }
  if (stations != nullptr) {
    *stations = static_cast<int>(latest.size());
  }
  return true;
}

bool CheckAndPublish(RobotStore& store, const PublishSettings& s, std::string& report) {
  std::error_code ec;
  fs::remove_all(s.workFolder, ec);
  const fs::path logs = s.workFolder / "logs";
  const fs::path results = s.workFolder / "results";
  std::string error;
  int stations = 0;
  if (!ExportLatest(store, logs, error, &stations)) {
    report = error;
    return false;
  }
  if (stations == 0) {
    report = "no log has been received yet: nothing to check";
    return false;
  }
  std::vector<std::string> args = {s.checkerPath, "--out", results.string()};
  if (!s.pluginPath.empty()) {
    args.insert(args.end(), {"--plugin", s.pluginPath});
  }
  if (s.startMinute) {
    args.insert(args.end(), {"--start", MinuteText(*s.startMinute)});
  }
  if (s.endMinute) {
    args.insert(args.end(), {"--end", MinuteText(*s.endMinute)});
  }
  for (fs::directory_iterator it(logs, ec), end; !ec && it != end; it.increment(ec)) {
    args.push_back(it->path().string());
  }
  const fs::path output = s.workFolder / "stats-check.txt";
  const int code = Run(args, output, s.timeoutSeconds, error);
  std::string said;
  std::string ignored;
  ReadWholeFile(output.string(), said, ignored);
  report = LastLines(said);
  if (code != 0) {
    report += (error.empty() ? "stats-check exited with " + std::to_string(code) : error) +
              "; the results published earlier stay";
    return false;
  }
  std::vector<std::pair<std::string, std::string>> files;
  if (!CollectResults(results, files, error)) {
    report += error + "; the results published earlier stay";
    return false;
  }
  store.ReplacePublished(files);
  report += "published " + std::to_string(files.size()) + " files of " +
            std::to_string(stations) + " stations";
  fs::remove_all(s.workFolder, ec);
  return true;
}

std::string PublishedContentType(const std::string& name) {
  auto ends = [&](const char* end) {
    const std::string e = end;
    return name.size() >= e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
  };
  if (ends(".html")) {
    return "text/html; charset=utf-8";
  }
  if (ends(".csv")) {
    return "text/csv; charset=utf-8";
  }
  if (ends(".tsv")) {
    return "text/tab-separated-values; charset=utf-8";
  }
  return "text/plain; charset=utf-8";
}
