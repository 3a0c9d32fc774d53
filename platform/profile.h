// INI profile access: the one place the plug-in's settings touch the disk.
//
// On Windows these are the system's private-profile functions; elsewhere our
// own INI reader and writer behave like them for everything the plug-in meets
// (see profile_posix.cpp). Every call goes to the file: nothing is cached, so
// the host's thread and the panel thread may both call at any time.
#pragma once

#include <string>

// What a read hands back at most: the profile buffer holds 100 characters
// including the terminating zero.
inline constexpr std::size_t kProfileValueMax = 99;

// Reads `key` of `section` from the INI file at `path`: blanks around the value
// and then one pair of matching quotes removed, ended at a zero byte, cut to
// kProfileValueMax characters. A missing file, section or key, or a file that
// cannot be read, gives `fallback` without its trailing spaces and its quotes
// (also cut).
std::string ProfileReadString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback);

// Writes `key` = `value` into `section`, creating the file, the section or the
// key as needed and replacing an existing value. False when the file cannot be
// written (a missing folder is never created); callers ignore the result.
bool ProfileWriteString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value);
