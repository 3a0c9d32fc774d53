#include "test_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "module_hooks.h"
#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "tools/common/host_arguments.h"

#if defined(_WIN32)
#include <direct.h>
#include <windows.h>
#define mkdir(path, mode) _mkdir(path)
#endif

namespace {

std::string TempRoot() {
  for (const char* var : {"TMPDIR", "TEMP", "TMP"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && *v != '\0') {
      return v;
    }
  }
  return "/tmp";
}

int g_counter = 0;

}  // namespace

void MakeDir(const std::string& path) { mkdir(path.c_str(), 0755); }

void RemoveDirTree(const std::string& path) {
  DIR* d = opendir(path.c_str());
  if (d != nullptr) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name == "." || name == "..") {
        continue;
      }
      const std::string child = path + "/" + name;
      struct stat st;
      if (stat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        RemoveDirTree(child);
      } else {
        chmod(child.c_str(), 0644);
        std::remove(child.c_str());
      }
    }
    closedir(d);
  }
  rmdir(path.c_str());
}

void ScratchDirTest::SetUp() {
  char cwd[4096];
  previous_ = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::ostringstream name;
  name << TempRoot() << "/stats_test_" << getpid() << "_" << ++g_counter << "_" << info->name();
  dir_ = name.str();
  RemoveDirTree(dir_);
  MakeDir(dir_);
  ASSERT_EQ(0, chdir(dir_.c_str())) << dir_;
  MakeDir("Plugins");
  RebuildModuleForTests();
}

void ScratchDirTest::TearDown() {
  RebuildModuleForTests();
  if (chdir(previous_.c_str()) == 0) {
    RemoveDirTree(dir_);
  }
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

COleDateTime HostTime(int year, int month, int day, int hour, int minute, int second) {
  const long long days = HostDayOfDate(year, month, day);
  COleDateTime t;
  const double frac = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  const double whole = static_cast<double>(days);
  t.m_dt = days >= 0 ? whole + frac : whole - frac;
  t.m_status = COleDateTime::valid;
  return t;
}

COleDateTime NullTime() {
  COleDateTime t;
  t.m_status = COleDateTime::null;
  return t;
}

COleDateTime InvalidTime() {
  COleDateTime t;
  t.m_status = COleDateTime::invalid;
  return t;
}

HostQso::HostQso() {
  call = "Q2AA";
  time = HostTime(2016, 2, 13, 9, 5);
  hertz = 14080000;
  mode = "RTTY";
  rstSent = "599";
  rstRcvd = "599";
  nrSent = "001";
  nrRcvd = "002";
  prefix = "Q2";
  band = "20m";
}

int HostAdd(const HostQso& q) { return CallAddData(&AddData0, q.ownCall.c_str(), q); }
int HostRemove(const HostQso& q) { return CallAddData(&RemoveData0, q.ownCall.c_str(), q); }

int HostCheck(const std::string& call, const std::string& mode, const std::string& prefix,
              const std::string& exchange, const char* band, const char* otherBand) {
  const CallCheckAnswer a = CallCheckCall(&CheckCall0, call.c_str(), mode.c_str(), prefix.c_str(),
                                          exchange.c_str(), band, otherBand);
  EXPECT_TRUE(a.buffersKept) << "the call check must never write its buffers";
  return a.answer;
}

int HostReset(int reportFlag, const std::string& callsign, COleDateTime start, COleDateTime end) {
  return CallResetStats(&ResetStats0, reportFlag, callsign.c_str(), start, end);
}

int HostReset(int reportFlag, const std::string& callsign) {
  return HostReset(reportFlag, callsign, HostTime(2016, 6, 1), HostTime(2016, 6, 2));
}

#if defined(_WIN32)
std::string SystemReason(unsigned long error) {
  char text[256] = "";
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, 0, text, sizeof text, nullptr);
  std::string reason(text, n);
  while (!reason.empty() &&
         (reason.back() == '\r' || reason.back() == '\n' || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason;
}
#endif

std::string FolderInTheWayReason() {
#if defined(_WIN32)
  // The system refuses to put a file where a folder is, in its own words.
  return SystemReason(ERROR_ACCESS_DENIED);
#else
  return "Is a directory";
#endif
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") {
        names.insert(name);
      }
    }
    closedir(d);
  }
  return names;
}

bool IsLink(const std::string& path) {
#if defined(_WIN32)
  (void)path;
  return false;
#else
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
#endif
}
