// The copies into the AutoCAD installation folders; see ReleaseDeployment.h.
#include "acad/ReleaseDeployment.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/ReleaseCopies.h"

void deployToReleases(const AcadInstallations& installations, const ReleaseSelection& selection,
                      InstallObserver& observer, FailureLog& failures, const std::string& namedDataFolder,
                      InstallRecorder* recorder) {
    bool dataFolderMissing = false;
    for (const AcadInstallation& installation : selectedInstallations(installations, selection)) {
        if (!deployToLocation(installation.location, installation.year == kPlotDriverYear, failures,
                              namedDataFolder, recorder))
            dataFolderMissing = true;
    }
    if (dataFolderMissing)
        observer.refused({Refusal::Reason::DataFolderMissing, namedDataFolder, ERROR_PATH_NOT_FOUND});
}

bool deployToLocation(const std::string& location, bool replacePlotDriver, FailureLog& failures,
                      const std::string& namedDataFolder, InstallRecorder* recorder) {
    std::string dataFolder;
    if (!locateSetupDataFolder(namedDataFolder, dataFolder)) return false;
    copyIntoAcadFolder(dataFolder, location, replacePlotDriver, failures, recorder);
    return true;
}
