// "err.txt": the contest-rule diagnostics of the current pass.
//
// Lines are written in binary with an explicit CR LF so the file has the same
// bytes on every platform. The file is opened only when a line is written and
// closed again at once, so the host or an editor may read it at any time.
#pragma once

#include <string>

struct CInfo;

inline constexpr char kErrorLogName[] = "err.txt";
inline constexpr char kErrorLogHeader[] = "KOVA-BRAWLCUP UBN file ";

inline constexpr char kMsgNoContestBand[] = "   NO CONTEST BAND !!!";
inline constexpr char kMsgNoContestMode[] = "   NO CONTEST MODE !!!";
inline constexpr char kMsgNoRxNumber[] = "   NO RX NUMBER !!!";
inline constexpr char kMsgDupe[] = "   DUPE !!!";

class ErrorLog {
 public:
  explicit ErrorLog(std::string path = kErrorLogName) : path_(std::move(path)) {}

  // Truncates the file and writes its first line.
  void Start() const noexcept;
  // Appends `line` followed by CR LF; a file that cannot be opened or written
  // loses that line only, and needs no memory of the caller's.
  void Append(const std::string& line) const noexcept;

 private:
  std::string path_;
};

// The diagnostic line for `qso` without its line end.
std::string ErrorLogLine(const CInfo& qso, const std::string& ownCall, const char* message);
