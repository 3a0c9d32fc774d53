#include "fuzz_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void RemoveTree(const std::string& path) {
  if (DIR* d = opendir(path.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") {
        RemoveTree(path + "/" + name);
      }
    }
    closedir(d);
    rmdir(path.c_str());
  } else {
    std::remove(path.c_str());
  }
}

std::string g_folder;

}  // namespace

void EnterScratchFolder() {
  if (!g_folder.empty()) {
    return;
  }
  char dir[] = "/tmp/stats_fuzz_XXXXXX";
  if (mkdtemp(dir) == nullptr || chdir(dir) != 0) {
    std::perror("scratch folder");
    std::abort();
  }
  g_folder = dir;
  mkdir("Plugins", 0755);
  std::atexit([] { RemoveTree(g_folder); });
}

void SweepScratchFolder() {
  if (DIR* d = opendir(".")) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != ".." && name != "Plugins") {
        RemoveTree(name);
      }
    }
    closedir(d);
  }
}
