// Our own INI profile functions for systems without the Windows ones.
//
// They mimic the Windows behaviour the plug-in relies on: section and key
// names compare without regard to case, the backslash in the relative path is
// a folder separator, a read trims blanks, drops one pair of matching quotes
// around the value, stops at a zero byte and keeps at most 99 characters; the
// fallback loses only trailing spaces (and its quotes); a write keeps every
// other line (comments included) as it was and ends the lines it writes with
// CR LF. LF-only files read fine. One process-wide lock keeps a read from
// meeting a half-written file from the other thread.
//
// Where Windows rewrites the whole file (blank lines dropped, blanks around
// '=' removed, an existing key's spelling kept), these keep the other lines
// byte for byte: the plug-in reads both alike.
#include <algorithm>
#include <cstdio>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/text.h"
#include "platform/whole_file.h"

namespace {

std::mutex& FileLock() {
  static std::mutex lock;
  return lock;
}

std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string Trim(const std::string& s) { return std::string(TrimWhiteSpace(s)); }

std::string Cut(std::string s) {
  if (s.size() > kProfileValueMax) {
    s.resize(kProfileValueMax);
  }
  return s;
}

// A value in matching single or double quotes comes back without them, so an
// operator's "text" reads back as text, as on Windows.
std::string Unquote(const std::string& s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    return s.substr(1, s.size() - 2);
  }
  return s;
}

// What a read hands back for the text after '=': the system's buffer is a C
// string, so a zero byte ends it.
std::string ValueOf(const std::string& raw) {
  return Cut(Unquote(Trim(raw.substr(0, raw.find('\0')))));
}

// Windows removes only the fallback's trailing spaces.
std::string FallbackOf(const std::string& fallback) {
  std::string s = fallback.substr(0, fallback.find('\0'));
  while (!s.empty() && s.back() == ' ') {
    s.pop_back();
  }
  return Cut(Unquote(s));
}

// Reads the file's lines without their line ends. `existed` tells a missing
// file (a write may create it) from one that exists but cannot be read.
bool LoadLines(const std::string& path, std::vector<std::string>& lines, bool& existed) {
  std::FILE* f = std::fopen(NativePath(path).c_str(), "rb");
  existed = f != nullptr || errno != ENOENT;
  if (f == nullptr) {
    return false;
  }
  std::string content;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    content.append(buffer, got);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    return false;
  }
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t nl = content.find('\n', pos);
    std::string line = content.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(std::move(line));
    if (nl == std::string::npos) {
      break;
    }
    pos = nl + 1;
  }
  return true;
}

// "[name]" lines open a section; the name is what stands between the brackets.
bool SectionName(const std::string& line, std::string& name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') {
    return false;
  }
  const std::size_t close = t.find(']');
  if (close == std::string::npos) {
    return false;
  }
  name = Trim(t.substr(1, close - 1));
  return true;
}

// "key=value" lines; a line without '=' or starting with ';' holds no key.
bool KeyValue(const std::string& line, std::string& key, std::string& value) {
  const std::string t = Trim(line);
  if (t.empty() || t[0] == ';') {
    return false;
  }
  const std::size_t eq = line.find('=');
  if (eq == std::string::npos) {
    return false;
  }
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

}  // namespace

std::string ProfileReadString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  std::lock_guard<std::mutex> guard(FileLock());
  std::vector<std::string> lines;
  bool existed = false;
  if (LoadLines(path, lines, existed)) {
    bool inSection = false;
    for (const std::string& line : lines) {
      std::string name;
      if (SectionName(line, name)) {
        inSection = EqualsNoCase(name, section);
        continue;
      }
      std::string k;
      std::string v;
      if (inSection && KeyValue(line, k, v) && EqualsNoCase(k, key)) {
        return ValueOf(v);
      }
    }
  }
  return FallbackOf(fallback);
}

bool ProfileWriteString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value) {
  std::lock_guard<std::mutex> guard(FileLock());
  std::vector<std::string> lines;
  bool existed = false;
  if (!LoadLines(path, lines, existed) && existed) {
    return false;
  }

  const std::string entry = key + "=" + value;
  bool inSection = false;
  bool sectionSeen = false;
  std::size_t insertAt = lines.size();
  bool replaced = false;
  for (std::size_t i = 0; i < lines.size() && !replaced; ++i) {
    std::string name;
    if (SectionName(lines[i], name)) {
      if (inSection) {
        break;  // end of our section: the key goes after its last entry
      }
      inSection = EqualsNoCase(name, section);
      sectionSeen = sectionSeen || inSection;
      if (inSection) {
        insertAt = i + 1;
      }
      continue;
    }
    std::string k;
    std::string v;
    if (inSection && KeyValue(lines[i], k, v)) {
      if (EqualsNoCase(k, key)) {
        lines[i] = entry;
        replaced = true;
      } else {
        insertAt = i + 1;
      }
    } else if (inSection && !Trim(lines[i]).empty()) {
      insertAt = i + 1;
    }
  }
  if (!replaced) {
    if (sectionSeen) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }

  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  // The folder is never created, and a file that cannot be opened for
  // writing (read-only, a directory) loses the value, as the system's own
  // profile functions behave. The rest of the file is never put at risk: the
  // new text takes the old one's place whole or not at all.
  const std::string native = NativePath(path);
  if (existed) {
    std::FILE* f = std::fopen(native.c_str(), "ab");
    if (f == nullptr) {
      return false;
    }
    std::fclose(f);
  }
  return WriteWholeFile(native, content, Durability::kWritten).empty();
}
