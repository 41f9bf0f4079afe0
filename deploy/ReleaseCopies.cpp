// The silent copies into the AutoCAD installation folders: fonts, itextsharp.dll, the
// host-side modules and, for AutoCAD 2008, the replacement plot driver (AutoCAD's own kept).
#include <windows.h>

#include "acad/AcadReleaseTable.h"
#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
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
// installation) is not kept as the original. False when the original could not be kept: the
// driver is then not replaced.
bool keepOriginalPlotDriver(const std::string& replacement, const std::string& driver) {
    if (probePath(driver) != PathIsFile) return true;
    std::string backup = folderOfPath(driver, isSystemLeadByte) + "\\" + kPlotDriverBackupName;
    if (probePath(backup) == PathIsFile || sameContents(driver, replacement)) return true;
    return fitsPathLimit(backup, isSystemLeadByte) && CopyFileA(driver.c_str(), backup.c_str(), TRUE);
}

}  // namespace

void AcadReleaseTable::deployToReleases(ReleaseSelection selection) {
    for (int release = 0; release < kReleaseCount; ++release) {
        if (!selection[release]) continue;
        const StringList& releaseLocations = locations[release];
        const std::size_t count = releaseLocations.size();
        for (std::size_t i = 0; i < count; ++i) {
            deployToLocation(releaseLocations[i], release == kPlotDriverReleaseIndex);
        }
    }
}

void AcadReleaseTable::deployToLocation(std::string location, bool replacePlotDriver) {
    std::string dataFolder;
    if (!findSetupDataFolder(dataFolder)) return;
    for (const ReleaseCopy& copy : releaseCopies(replacePlotDriver)) {
        std::string source = dataFolder + "\\" + copy.sourceName;
        std::string folder = copy.subFolder.empty() ? location : location + "\\" + copy.subFolder;
        std::string destination = folder + "\\" + copy.destinationName;
        // A missing Fonts or Drv folder is not created. Paths the narrow functions cannot take
        // are never tried (nor cut short into some other folder).
        bool pathsFit =
            fitsPathLimit(source, isSystemLeadByte) && fitsPathLimit(destination, isSystemLeadByte);
        bool replaceable = copy.destinationName != kPlotDriverName || probePath(source) != PathIsFile ||
                           keepOriginalPlotDriver(source, destination);
        if (pathsFit && replaceable && copyOver(source, destination)) continue;
        if (isRealFailure(source, folder, pathsFit)) releaseCopyFailures.push_back(destination);
    }
}
