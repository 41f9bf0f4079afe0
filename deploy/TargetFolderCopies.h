// What the deployment into the plug-in's folder does, as work items: which entries of the setup
// data folder are the plug-in's files (and which one is the settings file, which goes to each
// user's own folder instead), the paths it will create and write, and the items that put one
// file in place.
#pragma once

#include <string>
#include <vector>

#include "deploy/DataFolder.h"
#include "deploy/DeployRules.h"
#include "journal/WorkItem.h"

struct DataFolderContents {
    std::string folder;
    std::vector<std::string> pluginFiles;  // names, in the order the file system listed them
    std::string settingsFile;              // the settings file's name as found; empty when none
};
DataFolderContents sortDataFolder(const std::string& folder, const std::vector<DataEntry>& entries);

// The folders and files the deployment into the target folder creates or writes, and the files
// it reads, for the length check before anything is created.
std::vector<PlannedPath> targetFolderPaths(const DataFolderContents& data, const std::string& targetFolder);

// The items that put a copy of source at destination: a file already there is moved aside first
// (it comes back if the run stops, and goes when it commits).
WorkItems replaceFile(const std::string& source, const std::string& destination, Failure::Action failure);
// The same for bytes held in memory.
WorkItems replaceFile(const void* bytes, std::size_t size, const std::string& destination,
                      Failure::Action failure);
