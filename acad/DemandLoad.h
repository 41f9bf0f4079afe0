// The demand-load keys below each selected installation's product key that make AutoCAD load
// the plug-in's module and the host-side library at start-up, as work items (machine-wide:
// below HKEY_LOCAL_MACHINE).
#pragma once

#include <string>

#include "acad/AcadInstallations.h"
#include "journal/WorkItem.h"

// The keys of one installation for an edition of the given platform width (the program passes
// platformBits; tests check both editions), each rebuilt with exactly the plug-in's values; what
// a key held before is kept for the run, to be written back if it stops.
WorkItems demandLoadItems(const AcadInstallation& installation, int bits, const std::string& installFolder);
