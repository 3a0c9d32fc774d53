// The word that names the summary sheet, made safe as a file name: the
// plug-in writes the sheet under it and the tools that read its files look
// for it there.
// Pure function; safe on any thread.
#pragma once

#include <string>

// The word taken from the host's callsign: "/" and "\" become "_",
// surrounding white space goes, every other character Windows forbids in a
// file name becomes "_", and a Windows device name (CON, NUL, COM1 ...) gets a
// leading "_". An empty word gives "QZHC".
std::string FileWordOf(const std::string& callsign);
