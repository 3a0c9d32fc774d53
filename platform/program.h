// What a command-line program needs of the system beyond the standard library:
// where it lies (the tools find the plug-in beside themselves), a stdout that
// passes bytes through unchanged, and whether a person watches stderr.
//
// Call from the program's main thread.
#pragma once

#include <string>

// The folder that holds the running program, with a trailing separator; empty
// when the system does not tell.
std::string ExecutableFolder();

// The plug-in's texts carry their own CR LF line ends: stdout must pass them
// through unchanged.
void UseBinaryStdout();

// True when stderr goes to a terminal (not to a file or a pipe): only then is
// a progress line rewritten in place worth showing.
bool StderrIsTerminal();
