// What discovery found on this machine: one record per AutoCAD installation (its release, the
// product key it was found under, its folder), in release order, and the release selection a
// front end makes of them. Registration, the copies, the write check, status and uninstall
// are functions over this list.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "acad/ReleaseRules.h"

struct AcadInstallation {
    int year;                // 2007..2026
    std::string productKey;  // below HKEY_LOCAL_MACHINE, as discovery reached it; ends with a backslash
    std::string location;    // "AcadLocation", one trailing backslash removed
};
using AcadInstallations = std::vector<AcadInstallation>;

using StringList = std::vector<std::string>;

// Tick state per release index (year - 2007); non-zero means selected.
using ReleaseSelection = std::array<int, kReleaseCount>;
constexpr int releaseIndex(int year) { return year - kFirstReleaseYear; }
bool isSelected(const ReleaseSelection& selection, int year);
// The installations of the selected releases, in list order.
AcadInstallations selectedInstallations(const AcadInstallations& installations,
                                        const ReleaseSelection& selection);
// Whether an installation of the release was found.
bool wasFound(const AcadInstallations& installations, int year);

// Discovery: both release roots, once, in the order releases are registered (by year; within
// a year, in the order the roots and keys were met).
AcadInstallations findAcadReleases();

// The product name an installation was found with ("ProductName" of its key).
std::string productNameOf(const std::string& productKey);

// Drops one trailing backslash, unless it is the path's only backslash at position 0.
void stripTrailingBackslash(std::string& path);
