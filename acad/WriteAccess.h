// Whether this process may change what an installation changes on the machine: the product
// keys of the selected installations below HKEY_LOCAL_MACHINE and their folders. A user
// without administrator rights may not; the unattended installer says so before it starts,
// rather than leave a half-registered plug-in behind.
#pragma once

#include <string>

#include "acad/AcadInstallations.h"

// The first product key (below HKEY_LOCAL_MACHINE) or AutoCAD folder of the selected
// installations that cannot be written, or else the installation record's key if it cannot,
// with the Windows error; empty when all can.
std::string firstUnwritable(const AcadInstallations& installations, const ReleaseSelection& releases,
                            unsigned long& error);
