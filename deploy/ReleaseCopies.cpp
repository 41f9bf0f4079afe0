// The silent copies into an AutoCAD installation folder; see ReleaseCopies.h.
#include "deploy/ReleaseCopies.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

// A copy that did not happen although it could have: the source is shipped and the folder
// it goes into is there (or cannot even be named with the narrow functions).
bool isRealFailure(const std::string& source, const std::string& destinationFolder, bool pathsFit) {
    if (probePath(source) != PathIsFile) return false;
    return !pathsFit || probePath(destinationFolder) == PathIsFolder;
}

// AutoCAD's own plot driver is kept once beside it before the plug-in's replaces it. A kept
// copy is never overwritten, and a driver that is already the plug-in's (an earlier
// installation) is not kept as the original. When the original cannot be kept the driver is
// not replaced: the failure to keep it is given back; otherwise a copy failure still to try.
Failure keepOriginalPlotDriver(const std::string& replacement, const std::string& driver) {
    Failure pending = {Failure::Action::CopyToAcadFolder, driver, ERROR_SUCCESS};
    if (probePath(driver) != PathIsFile) return pending;
    std::string backup = path::join(path::folderOf(driver, isSystemLeadByte), kPlotDriverBackupName);
    if (probePath(backup) == PathIsFile || sameContents(driver, replacement)) return pending;
    if (!path::fitsLimit(backup, isSystemLeadByte))
        return {Failure::Action::KeepOriginal, driver, ERROR_FILENAME_EXCED_RANGE};
    if (!CopyFileA(driver.c_str(), backup.c_str(), TRUE))
        return {Failure::Action::KeepOriginal, driver, GetLastError()};
    return pending;
}

}  // namespace

void copyIntoAcadFolder(const std::string& dataFolder, const std::string& location, bool replacePlotDriver,
                        FailureLog& failures) {
    for (const ReleaseCopy& copy : releaseCopies(replacePlotDriver)) {
        std::string source = path::join(dataFolder, copy.sourceName);
        std::string folder = copy.subFolder.empty() ? location : path::join(location, copy.subFolder);
        std::string destination = path::join(folder, copy.destinationName);
        // A missing Fonts or Drv folder is not created. Paths the narrow functions cannot take
        // are never tried (nor cut short into some other folder).
        bool pathsFit =
            path::fitsLimit(source, isSystemLeadByte) && path::fitsLimit(destination, isSystemLeadByte);
        Failure failure = {Failure::Action::CopyToAcadFolder, destination, ERROR_FILENAME_EXCED_RANGE};
        if (pathsFit && copy.destinationName == kPlotDriverName && probePath(source) == PathIsFile)
            failure = keepOriginalPlotDriver(source, destination);
        if (pathsFit && failure.action == Failure::Action::CopyToAcadFolder)
            failure.error = copyOver(source, destination);
        if (failure.error != ERROR_SUCCESS && isRealFailure(source, folder, pathsFit))
            failures.push_back(failure);
    }
}
