// What the test host needs of the system: loading a library by path and
// finding names in it as the host program does, folders, and a clock.
#pragma once

#include <string>

void* OpenLibrary(const std::string& path);
void* FindEntryPoint(void* library, const char* name);
bool CloseLibrary(void* library);
std::string LibraryError();

// True where the library exports the decorated names beside the plain ones.
bool ExportsDecoratedNames();

void MakeFolder(const std::string& path);
bool ChangeFolder(const std::string& path);
void RemoveFile(const std::string& path);
// An absolute path the system's library loader accepts for `path` as given on
// the command line.
std::string LoaderPath(const std::string& path);
unsigned long MillisecondsNow();

// The checks that drive the real windows (header form, "Output" box, setup
// dialog); where there are none, nothing is checked. Returns the number of
// failed checks.
struct EntryPoints;
int RunWindowChecks(const EntryPoints& stats);
