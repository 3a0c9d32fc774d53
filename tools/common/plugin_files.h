// The files the plug-in writes itself, so that a tool never writes over one.
// Pure but for WouldOverwritePluginFile, which asks the file system where the
// current folder is; safe on any thread.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/common/host_contact.h"

// True for a file name the plug-in writes in its folder (err.txt, a per-mode
// log, a summary sheet); compared without regard to case, as Windows does.
bool IsPluginReportFileName(std::string_view fileName);

// The mode group whose per-mode log has this file name, compared without
// regard to case; -1 for any other name.
int ModeGroupOfLogFileName(std::string_view fileName);

// True for a summary sheet's name: anything ending in ".sum", in any case.
bool IsSummarySheetFileName(std::string_view fileName);

// The name a report run gives the summary sheet of `ownCall`: "Q1OWN.sum".
std::string SummarySheetFileName(const std::string& ownCall);

// True for the name of the plug-in's settings file in its "Plugins" folder.
bool IsPluginSettingsFileName(std::string_view fileName);

// The folder of the plug-in's settings file, relative to the folder it writes
// in: "Plugins".
std::string PluginSettingsFolder();

// The settings file's path relative to the folder the plug-in writes in, with
// the "/" separator every system takes: "Plugins/KOVA-BRAWLCUP.ini".
std::string PluginSettingsPath();

// True when `target` is the plug-in's error log, one of its report files or its
// settings file in the current folder, the one the plug-in writes in.
bool WouldOverwritePluginFile(const std::filesystem::path& target);

// The files a report run writes for what the plug-in stored: the per-mode log
// of every group with a stored contact, in the order they are written, then
// the summary sheet named after `ownCall`.
std::vector<std::string> ReportFilesOf(const std::string& ownCall,
                                       const std::vector<ReplayedContact>& contacts);
