#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/whole_file_system.h"

bool FlushToDisk(std::FILE* stream) { return ::_commit(::_fileno(stream)) == 0; }

std::string ReplaceWithFile(const std::string& temporary, const std::string& target) {
  // The system's replace: one rename that takes the place of an existing file
  // and returns only once it is on the disk.
  if (::MoveFileExA(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
    return {};
  }
  const DWORD error = ::GetLastError();
  char text[256] = "";
  const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, text, sizeof text, nullptr);
  std::string reason(text, n);
  while (!reason.empty() &&
         (reason.back() == '\r' || reason.back() == '\n' || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason.empty() ? "system error " + std::to_string(error) : reason;
}
