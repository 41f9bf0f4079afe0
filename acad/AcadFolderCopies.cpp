// The copies into an AutoCAD installation folder; see AcadFolderCopies.h.
#include "acad/AcadFolderCopies.h"

#include <memory>

#include "framework/Files.h"
#include "framework/NarrowString.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"
#include "journal/FileItems.h"

namespace {

// What to do with a file already at the destination.
enum class Action { Copy, KeepOriginalThenCopy, Leave, LeaveAsOurs };

bool isRecorded(const RecordedFiles& recorded, const std::string& path) {
    for (const std::string& earlier : recorded)
        if (narrow::equalsIgnoreCase(earlier, path)) return true;
    return false;
}

Action actionFor(const ReleaseCopy& copy, const std::string& source, const std::string& destination,
                 const RecordedFiles& recorded) {
    if (probePath(destination) != PathIsFile) return Action::Copy;
    const bool ours = isRecorded(recorded, destination);
    if (copy.kind == ReleaseCopy::Kind::Replacement) {
        // A driver that is already the plug-in's (an earlier installation) is not kept as the
        // original.
        return ours || sameContents(destination, source) ? Action::Copy : Action::KeepOriginalThenCopy;
    }
    Overwrite rule = overwriteRule(fileVersionOf(source), fileVersionOf(destination));
    if (rule == Overwrite::IfDifferent && sameContents(source, destination))
        return copy.kind == ReleaseCopy::Kind::Own ? Action::LeaveAsOurs : Action::Leave;
    if (rule == Overwrite::No) return Action::Leave;
    return copy.kind == ReleaseCopy::Kind::Shared && !ours ? Action::KeepOriginalThenCopy : Action::Copy;
}

std::string folderFor(const ReleaseCopy& copy, const std::string& location) {
    return copy.subFolder.empty() ? location : path::join(location, copy.subFolder);
}

}  // namespace

WorkItems acadFolderCopies(const std::string& dataFolder, const std::string& location, bool replacePlotDriver,
                           const RecordedFiles& recorded) {
    WorkItems items;
    const Failure::Action failure = Failure::Action::CopyToAcadFolder;
    for (const ReleaseCopy& copy : releaseCopies(replacePlotDriver)) {
        std::string source = path::join(dataFolder, copy.sourceName);
        std::string folder = folderFor(copy, location);
        std::string destination = path::join(folder, copy.destinationName);
        if (probePath(source) != PathIsFile || probePath(folder) != PathIsFolder) continue;
        Action action = actionFor(copy, source, destination, recorded);
        if (action == Action::Leave) continue;
        // The original is kept beside the file once: a copy kept by an earlier installation is
        // never overwritten, and the file is then only moved aside for the run. Anything else under
        // the kept copy's name (a folder) is no kept copy: keeping fails, and the file stays.
        if (action == Action::KeepOriginalThenCopy &&
            probePath(keptOriginalPath(destination)) != PathIsFile) {
            items.push_back(std::make_unique<KeptOriginalItem>(destination));
        } else if (action != Action::Copy || probePath(destination) == PathIsFile) {
            items.push_back(std::make_unique<FileBackupItem>(destination, failure));
        }
        items.push_back(std::make_unique<FileItem>(source, destination, failure));
    }
    return items;
}

std::vector<PlannedPath> acadFolderPaths(const std::string& dataFolder, const std::string& location,
                                         bool replacePlotDriver) {
    std::vector<PlannedPath> paths;
    for (const ReleaseCopy& copy : releaseCopies(replacePlotDriver)) {
        std::string source = path::join(dataFolder, copy.sourceName);
        std::string folder = folderFor(copy, location);
        std::string destination = path::join(folder, copy.destinationName);
        // Only the copies that will be made (44 host-side module names are tried, a few shipped),
        // and those that cannot be because the path is too long, which is told before anything
        // changes rather than passed over.
        if (probePath(source) != PathIsFile) continue;
        if (probePath(folder) != PathIsFolder && path::fitsLimit(destination, isSystemLeadByte)) continue;
        paths.push_back({source, false});
        paths.push_back({destination, false});
        if (copy.kind != ReleaseCopy::Kind::Own) paths.push_back({keptOriginalPath(destination), false});
        if (probePath(destination) == PathIsFile) paths.push_back({backupPath(destination), false});
    }
    return paths;
}
