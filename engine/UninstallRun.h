// One uninstallation, as every front end runs it (SetUp.exe's uninstall command of the Programs
// and Features entry, SetUpCmd.exe uninstall, a Windows Installer package's removal), in one
// order: AutoCAD running, the installation lock, the rights, a run cut off earlier undone, every
// user's part (or this account's), the machine's part walked back from the installation's record
// (or found, for an installation by an earlier build that kept no record), what must wait left for
// later, and the record written anew or removed.
//
// With the record: exactly what it lists, last first. A file is removed when it is still as it
// was written (size and SHA-256), and kept and reported when it has changed since; every original
// the installation replaced is put back; the keys it made go; the folders it made go when empty.
// For users left for their next logon (their registry could not be reached, or something of theirs
// could not be removed) the logon program stays in the plug-in's folder while the rest goes,
// registered with Active Setup again (a higher version: it runs for every user once more) and
// recorded anew, marked as what is left of an uninstallation; the next uninstallation removes it.
// Run from the plug-in's folder, the program removes itself once it has ended
// (engine/RemovalAfterExit.h).
#pragma once

#include "engine/EngineObserver.h"
#include "engine/Requests.h"
#include "journal/SetupLog.h"

UninstallOutcome runUninstallation(const UninstallRequest& request, EngineObserver& observer, SetupLog& log);
