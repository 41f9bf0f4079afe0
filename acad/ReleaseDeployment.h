// The copies into the AutoCAD installation folders of the selected installations, in list
// order: fonts, libraries and host-side modules, and for AutoCAD 2008 the replacement plot
// driver. Silent: what could not be copied is added to failures.
#pragma once

#include <string>

#include "acad/AcadInstallations.h"
#include "deploy/InstallObserver.h"

class InstallRecorder;

// From the named data folder or (none named) the one beside the program, looked for anew for
// every location, as the files may have gone meanwhile; the observer is told once when they have.
void deployToReleases(const AcadInstallations& installations, const ReleaseSelection& selection,
                      InstallObserver& observer, FailureLog& failures,
                      const std::string& namedDataFolder = std::string(), InstallRecorder* recorder = nullptr);

// One location; false, with nothing copied, when the data folder is not there.
bool deployToLocation(const std::string& location, bool replacePlotDriver, FailureLog& failures,
                      const std::string& namedDataFolder = std::string(), InstallRecorder* recorder = nullptr);
