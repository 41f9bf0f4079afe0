// The deployment into the plug-in's folder; see TargetFolderCopies.h.
#include "deploy/TargetFolderCopies.h"

#include "framework/Files.h"
#include "framework/SystemCodePage.h"
#include "journal/FileItems.h"

DataFolderContents sortDataFolder(const std::string& folder, const std::vector<DataEntry>& entries) {
    DataFolderContents contents;
    contents.folder = folder;
    for (const DataEntry& entry : entries) {
        switch (entryAction(entry.name, entry.isFolder)) {
            case EntryAction::CopyToTarget:
                contents.pluginFiles.push_back(entry.name);
                break;
            case EntryAction::CopyToUserFolder:
                contents.settingsFile = entry.name;
                break;
            case EntryAction::Skip:
                break;
        }
    }
    return contents;
}

std::vector<PlannedPath> targetFolderPaths(const DataFolderContents& data, const std::string& targetFolder) {
    std::vector<PlannedPath> paths = {{path::folderOf(targetFolder, isSystemLeadByte), true},
                                      {targetFolder, true}};
    for (const std::string& name : data.pluginFiles) {
        paths.push_back({path::join(data.folder, name), false});
        const std::string destination = path::join(targetFolder, name);
        paths.push_back({destination, false});
        if (probePath(destination) == PathIsFile) paths.push_back({backupPath(destination), false});
    }
    if (!data.settingsFile.empty()) paths.push_back({path::join(data.folder, data.settingsFile), false});
    return paths;
}

namespace {
template <typename MakeFile>
WorkItems replaceWith(const std::string& destination, Failure::Action failure, MakeFile makeFile) {
    WorkItems items;
    if (probePath(destination) == PathIsFile)
        items.push_back(std::make_unique<FileBackupItem>(destination, failure));
    items.push_back(makeFile());
    return items;
}
}  // namespace

WorkItems replaceFile(const std::string& source, const std::string& destination, Failure::Action failure) {
    return replaceWith(destination, failure,
                       [&] { return std::make_unique<FileItem>(source, destination, failure); });
}

WorkItems replaceFile(const void* bytes, std::size_t size, const std::string& destination,
                      Failure::Action failure) {
    return replaceWith(destination, failure,
                       [&] { return std::make_unique<FileItem>(bytes, size, destination, failure); });
}
