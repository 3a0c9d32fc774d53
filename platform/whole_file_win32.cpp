#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/whole_file.h"
#include "platform/whole_file_system.h"

namespace {

// The system's words for an error, without the trailing line end and point.
std::string SystemReason(DWORD error) {
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

// A narrow name as the system's narrow file calls read it.
std::wstring Wide(const std::string& text) {
  const UINT codePage = ::AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  const int n =
      ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  }
  return wide;
}

// A stream over a handle the caller opened; the stream owns it from here on.
std::FILE* StreamOf(HANDLE handle, int access, const char* mode, std::string& reason) {
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), access | _O_BINARY);
  if (fd == -1) {
    reason = SystemReason(ERROR_TOO_MANY_OPEN_FILES);
    ::CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = ::_fdopen(fd, mode);
  if (file == nullptr) {
    reason = SystemReason(ERROR_NOT_ENOUGH_MEMORY);
    ::_close(fd);
  }
  return file;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::wstring FinalTarget(const std::string& path, std::string&) {
  const std::wstring given = Wide(path);
  // The system follows links when it opens a file, so the name of what it
  // opened is the link's target. Asking for no access never meets a sharing
  // conflict with a program that holds the file.
  HANDLE file = ::CreateFileW(given.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return given;  // nothing there yet (or unreachable): the write says what fails
  }
  // A link is followed only to a file; a folder is never written over.
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileInformationByHandle(file, &info) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ::CloseHandle(file);
    return given;
  }
  std::wstring final(MAX_PATH, L'\0');
  DWORD n = ::GetFinalPathNameByHandleW(file, &final[0], static_cast<DWORD>(final.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n >= final.size()) {
    final.assign(n + 1, L'\0');
    n = ::GetFinalPathNameByHandleW(file, &final[0], static_cast<DWORD>(final.size()),
                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  }
  ::CloseHandle(file);
  if (n == 0 || n >= final.size()) {
    return given;
  }
  final.resize(n);
  return final;
}

std::FILE* CreateTemporaryBeside(const std::wstring& target, std::wstring& temporary,
                                 std::string& reason) {
  const std::size_t cut = target.find_last_of(L"\\/:");
  const std::size_t nameStart = cut == std::wstring::npos ? 0 : cut + 1;
  const std::wstring stem =
      TemporaryKeepsTargetName(target.size() - nameStart) ? target : target.substr(0, nameStart);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = stem + Wide(TemporarySuffix(::GetCurrentProcessId()));
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      std::FILE* stream = StreamOf(file, _O_WRONLY, "wb", reason);
      if (stream == nullptr) {
        ::DeleteFileW(temporary.c_str());
      }
      return stream;
    }
    const DWORD error = ::GetLastError();
    // A folder of that name answers "access denied" rather than "exists".
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
        (error == ERROR_ACCESS_DENIED &&
         ::GetFileAttributesW(temporary.c_str()) != INVALID_FILE_ATTRIBUTES)) {
      continue;
    }
    reason = SystemReason(error);
    return nullptr;
  }
  reason = SystemReason(ERROR_FILE_EXISTS);
  return nullptr;
}

bool FlushToDisk(std::FILE* stream) { return ::_commit(::_fileno(stream)) == 0; }

MoveOutcome ReplaceWithFile(const std::wstring& temporary, const std::wstring& target) {
  // The system's replace: one rename that takes the place of an existing file
  // and returns only once it is on the disk.
  MoveOutcome outcome;
  if (::MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
    const DWORD error = ::GetLastError();
    outcome.reason = SystemReason(error);
    // A file that another program holds open cannot be replaced, whatever it
    // shares; the system says "access denied" or "sharing violation".
    outcome.targetInUse = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE;
  }
  return outcome;
}

std::FILE* OpenInPlace(const std::wstring& target, std::string& reason) {
  HANDLE file = ::CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = SystemReason(::GetLastError());
    return nullptr;
  }
  return StreamOf(file, _O_WRONLY, "wb", reason);
}

std::FILE* OpenForReading(const std::wstring& path) { return ::_wfopen(path.c_str(), L"rb"); }

void RemoveFile(const std::wstring& path) { ::DeleteFileW(path.c_str()); }

std::string FileIdentity(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
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
         ":" + std::to_string(info.nFileIndexLow) + ":" +
         std::to_string(info.ftLastWriteTime.dwHighDateTime) + "." +
         std::to_string(info.ftLastWriteTime.dwLowDateTime);
}
