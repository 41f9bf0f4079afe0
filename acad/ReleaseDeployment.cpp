// The copies into the AutoCAD installation folders of the selected releases, each location
// in list order, the replacement plot driver for AutoCAD 2008 only.
#include "acad/AcadReleaseTable.h"
#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/ReleaseCopies.h"

void AcadReleaseTable::deployToReleases(ReleaseSelection selection, InstallObserver& observer,
                                        FailureLog& failures, const std::string& namedDataFolder) {
    for (int release = 0; release < kReleaseCount; ++release) {
        if (!selection[release]) continue;
        const StringList& releaseLocations = locations[release];
        const std::size_t count = releaseLocations.size();
        for (std::size_t i = 0; i < count; ++i)
            deployToLocation(releaseLocations[i], release == kPlotDriverReleaseIndex, observer, failures,
                             namedDataFolder);
    }
}

void AcadReleaseTable::deployToLocation(std::string location, bool replacePlotDriver,
                                        InstallObserver& observer, FailureLog& failures,
                                        const std::string& namedDataFolder) {
    // Looked for anew for every location, as the files may have gone meanwhile.
    std::string dataFolder;
    if (!locateSetupDataFolder(namedDataFolder, dataFolder)) {
        observer.refused({Refusal::Reason::DataFolderMissing, namedDataFolder, ERROR_PATH_NOT_FOUND});
        return;
    }
    copyIntoAcadFolder(dataFolder, location, replacePlotDriver, failures);
}
