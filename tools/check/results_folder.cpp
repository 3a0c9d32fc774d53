#include "tools/check/results_folder.h"

#include <chrono>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRunPrefix = "run-";
constexpr char kLockName[] = "lock";

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string Because(const std::error_code& ec) { return ec ? ": " + ec.message() : std::string(); }

// The run folder a published path leads to, or empty.
fs::path RunOf(const fs::path& published, const fs::path& home) {
#ifdef _WIN32
  (void)home;
  (void)published;
  return fs::path();
#else
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(published, ec))) {
    return fs::path();
  }
  const fs::path target = fs::read_symlink(published, ec);
  const fs::path resolved = (published.parent_path() / target).lexically_normal();
  if (ec || resolved.parent_path().parent_path() != home.lexically_normal()) {
    return fs::path();
  }
  return resolved.parent_path();
#endif
}

}  // namespace

struct ResultsFolder::Lock {
#ifdef _WIN32
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~Lock() {
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
    }
  }
  bool Take(const fs::path& path) {
    // Opened without sharing: a second run cannot open it until this one ends.
    handle = CreateFileW(path.wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle != INVALID_HANDLE_VALUE;
  }
#else
  int fd = -1;
  ~Lock() {
    if (fd >= 0) {
      ::close(fd);
    }
  }
  // The system lets go of the lock when the process ends, however it ends.
  bool Take(const fs::path& path) {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  }
#endif
};

ResultsFolder::ResultsFolder() = default;
ResultsFolder::~ResultsFolder() = default;

bool HoldsOnlyResults(const fs::path& folder) {
  static constexpr std::string_view kNames[] = {"results.txt", "results.csv",  "verdicts.tsv",
                                                "index.html",  "not-used.txt", "logs.html"};
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    bool ours = EndsWith(name, ".ubn.txt") || EndsWith(name, ".new") || name == "stations";
    for (std::string_view known : kNames) {
      ours = ours || name == known;
    }
    if (!ours) {
      return false;
    }
  }
  return !ec;
}

fs::path ResultsFolder::PrivatePath() const {
  return dir_.parent_path() / (dir_.filename().string() + "-private");
}

bool ResultsFolder::Begin(const fs::path& dir, std::string& error) {
  std::error_code ec;
  dir_ = fs::absolute(dir, ec).lexically_normal();
  if (!dir_.has_filename()) {
    dir_ = dir_.parent_path();
  }
  const fs::path parent = dir_.parent_path();
  home_ = parent / ("." + dir_.filename().string() + ".stats-check");
  fs::create_directories(home_, ec);
  if (ec || !fs::is_directory(home_)) {
    error = "cannot make the folder " + home_.string() + Because(ec);
    return false;
  }
  lock_ = std::make_unique<Lock>();
  if (!lock_->Take(home_ / kLockName)) {
    error = "another stats-check is writing " + dir_.string() + " (or " +
            (home_ / kLockName).string() + " cannot be locked)";
    return false;
  }
  // Whatever DIR is must be something this run may replace.
  const fs::file_status status = fs::symlink_status(dir_, ec);
  const fs::path current = RunOf(dir_, home_);
  if (fs::exists(status) && current.empty() &&
      (fs::is_symlink(status) || !fs::is_directory(status))) {
    error = dir_.string() + " is not a folder stats-check made; choose another --out";
    return false;
  }
  // Someone's own files put into DIR would go with the run it shows.
  if (fs::exists(status) && !HoldsOnlyResults(dir_)) {
    error = dir_.string() + " holds files stats-check did not write; choose another --out";
    return false;
  }
  // Leftovers: every run folder but the published ones.
  const fs::path currentPrivate = RunOf(PrivatePath(), home_);
  for (fs::directory_iterator it(home_, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path p = it->path();
    if (p.filename() != kLockName && p != current && p != currentPrivate) {
      std::error_code ignored;
      fs::remove_all(p, ignored);
    }
  }
  const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100 && run_.empty(); ++attempt) {
    const fs::path candidate =
        home_ / (std::string(kRunPrefix) + std::to_string(stamp) + "-" + std::to_string(attempt));
    if (fs::create_directory(candidate, ec)) {
      run_ = candidate;
    }
  }
  public_ = run_ / "public";
  private_ = run_ / "private";
  if (run_.empty() || !fs::create_directory(public_, ec) || !fs::create_directory(private_, ec)) {
    error = "cannot make a folder in " + home_.string() + Because(ec);
    return false;
  }
  return true;
}

namespace {

#ifdef _WIN32

// The folder `from` takes the place of `to`, whose old folder goes to `aside`.
bool SwitchTo(const fs::path& from, const fs::path& to, const fs::path& aside, std::string& error) {
  std::error_code ec;
  if (fs::exists(to, ec)) {
    fs::rename(to, aside, ec);
    if (ec) {
      error = "cannot move " + to.string() + " aside" + Because(ec);
      return false;
    }
  }
  fs::rename(from, to, ec);
  if (ec) {
    std::error_code back;
    fs::rename(aside, to, back);
    error = "cannot make " + to.string() + Because(ec);
    return false;
  }
  return true;
}

#else

// `link` names `target` (relative to the link's folder) from now on: a new
// link is made beside the old one and renamed over it, which replaces a link
// in one step. A real folder in its place (from an older version) is moved
// aside first.
bool SwitchTo(const fs::path& target, const fs::path& link, const fs::path& aside,
              std::string& error) {
  std::error_code ec;
  const fs::path fresh = aside.parent_path() / (aside.filename().string() + ".link");
  fs::create_directory_symlink(target.lexically_relative(link.parent_path()), fresh, ec);
  if (ec) {
    error = "cannot make a link in " + fresh.parent_path().string() + Because(ec);
    return false;
  }
  const fs::file_status status = fs::symlink_status(link, ec);
  if (fs::is_directory(status)) {
    fs::rename(link, aside, ec);
    if (ec) {
      error = "cannot move " + link.string() + " aside" + Because(ec);
      return false;
    }
  }
  fs::rename(fresh, link, ec);
  if (ec) {
    error = "cannot replace " + link.string() + Because(ec);
    return false;
  }
  return true;
}

#endif

bool IsEmptyFolder(const fs::path& folder) {
  std::error_code ec;
  return fs::is_empty(folder, ec) && !ec;
}

}  // namespace

bool ResultsFolder::Publish(std::string& error) {
  const fs::path aside = home_ / ("old-" + run_.filename().string());
  if (!SwitchTo(public_, dir_, aside, error)) {
    return false;
  }
  std::error_code ec;
  if (!IsEmptyFolder(private_)) {
    if (!SwitchTo(private_, PrivatePath(), home_ / ("old-private-" + run_.filename().string()),
                  error)) {
      return false;
    }
  } else if (!RunOf(PrivatePath(), home_).empty()) {
    // An earlier run's private reports do not belong to this run's results.
    fs::remove(PrivatePath(), ec);
  }
  // What the switch replaced: runs no path leads to any more.
  const fs::path current = RunOf(dir_, home_);
  const fs::path currentPrivate = RunOf(PrivatePath(), home_);
  for (fs::directory_iterator it(home_, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path p = it->path();
    if (p.filename() != kLockName && p != current && p != currentPrivate && p != run_) {
      std::error_code ignored;
      fs::remove_all(p, ignored);
    }
  }
#ifdef _WIN32
  std::error_code ignored;
  fs::remove_all(run_, ignored);
#endif
  return true;
}
