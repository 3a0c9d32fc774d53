// From the database to stats-check and back: each station's latest files
// written as the folders stats-check reads (the export command, and the first
// step of publishing), the checker run over them as a program of its own, and
// the results it published taken into the database, from where the robot
// serves them. The checker is the sponsor's own program, so the results are
// exactly those it gives on the command line.
//
// Called from one thread at a time (the robot serialises publishing).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "robot_store.h"

// Writes OUT/<word>/<file> for each station's latest upload (<word>: the
// station's file word, "Q1AA_P" for "Q1AA/P"). OUT must be missing or empty.
// False, with the reason in `error`.
bool ExportLatest(RobotStore& store, const std::filesystem::path& out, std::string& error,
                  int* stations = nullptr);

struct PublishSettings {
  std::filesystem::path workFolder;  // the robot's own; emptied on each run
  std::string checkerPath;
  std::string pluginPath;
  std::optional<int> startMinute;
  std::optional<int> endMinute;
  int timeoutSeconds = 600;
};

// Runs the check over the latest logs and publishes its results. Returns
// what the checker said (its last lines); false when nothing was published,
// the earlier results then stay.
bool CheckAndPublish(RobotStore& store, const PublishSettings& settings, std::string& report);

// The content type a published file is served with, by its name's ending.
std::string PublishedContentType(const std::string& name);
