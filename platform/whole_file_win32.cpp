#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/whole_file.h"
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

std::string FileIdentity(const std::string& path) {
  HANDLE file =
      ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return {};
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = ::GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  if (!known) {
    return {};
  }
  return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) +
         ":" + std::to_string(info.nFileIndexLow);
}
