// Settings through the system's private-profile functions. The path goes in
// unchanged: a relative "Plugins\..." resolves against the host process's
// current directory, as the host expects. A value reads back cut to the 99
// characters the 100-character buffer holds.
#include <windows.h>

#include "platform/profile.h"

std::string ProfileReadString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  char buffer[kProfileValueMax + 1] = {};
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                buffer, sizeof buffer, path.c_str());
  return std::string(buffer, length < sizeof buffer ? length : kProfileValueMax);
}

bool ProfileWriteString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}
