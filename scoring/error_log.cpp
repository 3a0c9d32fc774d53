#include "scoring/error_log.h"

#include <cstdio>
#include <string>

#include "scoring/qso_store.h"

namespace {

void WriteFile(const std::string& path, const char* mode, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), mode);
  if (f == nullptr) {
    return;
  }
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace

void ErrorLog::Start() const { WriteFile(path_, "wb", std::string(kErrorLogHeader) + "\r\n"); }

void ErrorLog::Append(const std::string& line) const { WriteFile(path_, "ab", line + "\r\n"); }

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
