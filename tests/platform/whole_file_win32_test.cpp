// Writing a report file that another program holds open, as the system
// really refuses and allows it: a viewer or an editor keeps its handle and
// shares the file in one of the ways readers do.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/whole_file.h"
#include "test_support.h"

namespace {

using WholeFileWin32Test = ScratchDirTest;

const std::string kOld = "the last good report\r\n";
const std::string kNew(5000, 'n');

// What a reader holding the file open sees in it now.
std::string ReadThrough(HANDLE reader) {
  std::string bytes(kNew.size() + 10, '\0');
  DWORD got = 0;
  ::SetFilePointer(reader, 0, nullptr, FILE_BEGIN);
  ::ReadFile(reader, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

}  // namespace

// The system refuses to move a new file over one that is open, whatever it
// shares ("Access denied"). A reader that shares writing lets the new bytes
// be written into the file itself; one that shares only reading keeps the
// file as it was, and the write says why.
TEST_F(WholeFileWin32Test, AFileHeldOpenIsWrittenWheneverItsReaderSharesWriting) {
  struct Case {
    const char* shares;
    DWORD mode;
    bool written;
  };
  const Case cases[] = {
      {"read and write", FILE_SHARE_READ | FILE_SHARE_WRITE, true},
      {"read, write and delete", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
      {"read only", FILE_SHARE_READ, false},
  };
  for (const Case& c : cases) {
    for (bool pieces : {false, true}) {
      const std::string what = std::string(c.shares) + (pieces ? ", in pieces" : "");
      WriteFile("RTTY.log", kOld);
      HANDLE reader = ::CreateFileA("RTTY.log", GENERIC_READ, c.mode, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(INVALID_HANDLE_VALUE, reader) << what;
      std::string reason;
      if (pieces) {
        WholeFileWriter writer("RTTY.log");
        writer.Write(kNew.substr(0, 100));
        writer.Write(kNew.substr(100));
        reason = writer.Commit();
      } else {
        reason = WriteWholeFile("RTTY.log", kNew);
      }
      const std::string seen = ReadThrough(reader);
      ::CloseHandle(reader);
      if (c.written) {
        EXPECT_EQ("", reason) << what;
        EXPECT_EQ(kNew, seen) << what;
      } else {
        EXPECT_EQ(SystemReason(ERROR_SHARING_VIOLATION), reason) << what;
        EXPECT_EQ(kOld, seen) << what;
      }
      EXPECT_EQ(c.written ? kNew : kOld, ReadFile("RTTY.log")) << what;
      EXPECT_EQ(std::set<std::string>({"Plugins", "RTTY.log"}), FilesIn(".")) << what;
    }
  }
}
