// Registration of the plug-in with AutoCAD: the demand-load keys below each selected
// installation's product key (machine-wide), then the target folder in the trusted paths of
// every AutoCAD profile of the current user. What cannot be written is added to failures.
#pragma once

#include <string>

#include "acad/AcadInstallations.h"
#include "deploy/InstallObserver.h"

class InstallRecorder;

// The demand-load keys of every selected installation, then addTrustedFolder (unless the current
// user's part is left to the logon step). What is written goes into the record, when there is one.
void registerReleases(const AcadInstallations& installations, const ReleaseSelection& selection,
                      const std::string& installFolder, FailureLog& failures,
                      InstallRecorder* recorder = nullptr, bool currentUser = true);

// The demand-load keys of one installation, for an edition of the given platform width (the
// program passes platformBits; tests check both editions).
void registerInstallation(const AcadInstallation& installation, int bits, const std::string& installFolder,
                          FailureLog& failures, InstallRecorder* recorder = nullptr);

// The target folder in "TRUSTEDPATHS" of every AutoCAD profile of the current user.
void addTrustedFolder(const std::string& installFolder, FailureLog& failures, InstallRecorder* recorder = nullptr);
