// The silent copies into an AutoCAD installation folder; see ReleaseCopies.h.
#include "deploy/ReleaseCopies.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

// A copy that did not happen although it could have: the source is shipped and the folder
// it goes into is there (or cannot even be named with the narrow functions).
bool isRealFailure(const std::string& source, const std::string& destinationFolder, bool pathsFit) {
    if (probePath(source) != PathIsFile) return false;
    return !pathsFit || probePath(destinationFolder) == PathIsFolder;
}

// What to do with a file already at the destination.
enum class Action { Copy, KeepOriginalThenCopy, Leave, LeaveAsOurs };

Action actionFor(const ReleaseCopy& copy, const std::string& source, const std::string& destination,
                 const InstallRecorder* recorder) {
    if (probePath(destination) != PathIsFile) return Action::Copy;
    const bool ours = recorder && recorder->isRecorded(destination);
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

// Keeps the file found at the destination beside it, once: a kept copy is never overwritten.
// 0, or the Windows error that prevents keeping it (then it is not replaced either).
unsigned long keepOriginal(const std::string& destination, InstallRecorder* recorder) {
    std::string kept = keptOriginalPath(destination);
    if (probePath(kept) == PathIsFile) return ERROR_SUCCESS;
    if (!path::fitsLimit(kept, isSystemLeadByte)) return ERROR_FILENAME_EXCED_RANGE;
    if (!CopyFileA(destination.c_str(), kept.c_str(), TRUE)) return GetLastError();
    if (recorder) recorder->kept(destination, kept);
    return ERROR_SUCCESS;
}

// One copy; the failure to record, or none (error 0).
Failure copyOne(const ReleaseCopy& copy, const std::string& source, const std::string& destination,
                InstallRecorder* recorder) {
    Action action = actionFor(copy, source, destination, recorder);
    if (action == Action::LeaveAsOurs && recorder) recorder->file(destination);
    if (action == Action::Leave || action == Action::LeaveAsOurs)
        return {Failure::Action::CopyToAcadFolder, destination, ERROR_SUCCESS};
    if (action == Action::KeepOriginalThenCopy) {
        if (unsigned long error = keepOriginal(destination, recorder))
            return {Failure::Action::KeepOriginal, destination, error};
    }
    unsigned long error = copyOver(source, destination);
    if (error == ERROR_SUCCESS && recorder) recorder->file(destination);
    return {Failure::Action::CopyToAcadFolder, destination, error};
}

}  // namespace

void copyIntoAcadFolder(const std::string& dataFolder, const std::string& location, bool replacePlotDriver,
                        FailureLog& failures, InstallRecorder* recorder) {
    for (const ReleaseCopy& copy : releaseCopies(replacePlotDriver)) {
        std::string source = path::join(dataFolder, copy.sourceName);
        std::string folder = copy.subFolder.empty() ? location : path::join(location, copy.subFolder);
        std::string destination = path::join(folder, copy.destinationName);
        // A missing Fonts or Drv folder is not created. Paths the narrow functions cannot take
        // are never tried (nor cut short into some other folder); nor is a file not shipped.
        bool pathsFit =
            path::fitsLimit(source, isSystemLeadByte) && path::fitsLimit(destination, isSystemLeadByte);
        Failure failure = {Failure::Action::CopyToAcadFolder, destination, ERROR_FILENAME_EXCED_RANGE};
        if (pathsFit && probePath(source) == PathIsFile) failure = copyOne(copy, source, destination, recorder);
        if (pathsFit && probePath(source) != PathIsFile) failure.error = ERROR_FILE_NOT_FOUND;
        if (failure.error != ERROR_SUCCESS && isRealFailure(source, folder, pathsFit))
            failures.push_back(failure);
    }
}
