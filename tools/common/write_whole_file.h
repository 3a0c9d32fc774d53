// Writing a file whole, the tools' way of failing: false, with the system's
// reason in `error`, as ReadWholeFile answers. platform/whole_file answers the
// plug-in's way (an empty reason for success); the tools meet it only here.
// Safe on any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/whole_file.h"

bool SaveWholeFile(const std::string& path, std::string_view bytes, Durability durability,
                   std::string& error);

// Puts a writer's file in the target's place (WholeFileWriter::Commit).
bool CommitWholeFile(WholeFileWriter& writer, std::string& error);
