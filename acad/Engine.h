// The installation engine as its front ends see it: everything SetUp.exe and SetUpCmd.exe (and
// any front end to come) use of it. It is the only engine header a front end includes; the
// build checks that (cmake/CheckIncludes.cmake).
#pragma once

#include "acad/AcadInstallations.h"   // what discovery found, the release selection
#include "acad/AcadProcess.h"         // whether AutoCAD runs
#include "acad/Installation.h"        // the install run and its verdicts
#include "acad/LogonStep.h"           // the per-user part at each user's logon
#include "acad/PluginStatus.h"        // what of the plug-in is in place
#include "acad/ProgramsEntry.h"       // the entry in Programs and Features
#include "acad/SelfRemoval.h"         // SetUpCmd.exe removing itself after an uninstallation
#include "acad/TargetFolderRules.h"   // the target-folder rule
#include "acad/Uninstallation.h"      // uninstall
#include "acad/UserRemoval.h"         // uninstall for every user of the machine
#include "acad/UserSetup.h"           // the logon step's registration for every user
#include "acad/WriteAccess.h"         // the write check before anything is changed
#include "deploy/InstallFolders.h"    // whether others than administrators may change a folder
#include "deploy/InstallObserver.h"   // observer and failure types, the held-file rule
#include "deploy/InstallationLock.h"  // one installer at a time on the machine
#include "deploy/LogTexts.h"          // the engine's words, which both front ends say
#include "deploy/ProductNames.h"      // the product's names
#include "deploy/SetupLog.h"          // the installation's log
