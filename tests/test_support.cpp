#include "test_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "plugin/exports.h"
#include "module_hooks.h"
#include "plugin/module_state.h"

#if defined(_WIN32)
#include <direct.h>
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

namespace {

int CallData(bool add, const HostQso& q) {
  COleDateTime time = q.time;
  COleDateTime ignored = HostTime(2000, 1, 1);
  auto fn = add ? &AddData0 : &RemoveData0;
  return fn(q.ownCall.c_str(), q.call.c_str(), &time, &ignored, &ignored, &ignored, 77u, q.hertz,
            q.mode.c_str(), q.rstSent.c_str(), q.rstRcvd.c_str(), q.nrSent.c_str(),
            q.nrRcvd.c_str(), "x14", "x15", "x16", "x17", "x18", "x19", "x20", "x21",
            q.prefix.c_str(), "extra1", 24, 25, 26, 27.5, 28.5, "x29", "extra2", "x31",
            q.band.c_str(), "x33");
}

}  // namespace

int HostAdd(const HostQso& q) { return CallData(true, q); }
int HostRemove(const HostQso& q) { return CallData(false, q); }

int HostCheck(const std::string& call, const std::string& mode, const std::string& prefix,
              const std::string& exchange, const char* band, const char* otherBand) {
  char b27[8] = "keep27";
  char b28[8] = "keep28";
  const int r = CheckCall0(call.c_str(), 2u, 3u, mode.c_str(), "5", "6", "7", "8", "9", "10",
                           "11", "12", prefix.c_str(), exchange.c_str(), 15, 16, 17, 18.0, 19.0,
                           "20", "21", "22", "23", "24", band, otherBand, b27, b28);
  EXPECT_STREQ("keep27", b27) << "the call check must never write its buffers";
  EXPECT_STREQ("keep28", b28) << "the call check must never write its buffers";
  return r;
}

int HostReset(int reportFlag, const std::string& callsign, COleDateTime start, COleDateTime end) {
  return ResetStats0("s1", reportFlag, callsign.c_str(), &start, &end, "6", "7", "8", "9", "10",
                     "11", "12", "13", "14", "15", 16, 17, 18, 19.0, 20.0, "21", "22", "23");
}

int HostReset(int reportFlag, const std::string& callsign) {
  return HostReset(reportFlag, callsign, HostTime(2016, 6, 1), HostTime(2016, 6, 2));
}
