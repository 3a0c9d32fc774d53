#include <unistd.h>

#include <climits>
#include <string>

#include "platform/program.h"

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) {
    return std::string();
  }
  std::string path(buffer, static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void UseBinaryStdout() {}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
