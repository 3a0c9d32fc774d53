#include "scoring/error_log.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "scoring/qso_store.h"

namespace {

// Writes `text` and a CR LF. No allocation of ours, so a caller that has
// already changed its state can still log without risking a failure.
void WriteLine(const std::string& path, const char* mode, std::string_view text) noexcept {
  std::FILE* f = std::fopen(path.c_str(), mode);
  if (f == nullptr) {
    return;
  }
  std::fwrite(text.data(), 1, text.size(), f);
  std::fwrite("\r\n", 1, 2, f);
  std::fclose(f);
}

}  // namespace

void ErrorLog::Start() const noexcept { WriteLine(path_, "wb", kErrorLogHeader); }

void ErrorLog::Append(const std::string& line) const noexcept { WriteLine(path_, "ab", line); }

std::string ErrorLogLine(const CInfo& qso, const std::string& ownCall, const char* message) {
  std::string line = "QSO:  ";
  line += std::to_string(qso.m_freqKhz);
  line += "  " + qso.m_mode;
  line += "  " + FormatDateTime(qso.m_time, "%Y-%m-%d %H%M");
  line += "  " + ownCall;
  line += "  " + qso.m_rstSent + "  " + qso.m_nrSent;
  line += "  " + qso.m_call;
  line += "  " + qso.m_rstRcvd + "  " + qso.m_nrRcvd;
  line += message;
  return line;
}
