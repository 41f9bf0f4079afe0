// What discovery found on this machine: per release (index 0..19 for AutoCAD 2007..2026) the
// installation folders and the registry product keys they were found under, and the target
// folder chosen for the installation. The program's start-up fills one table and hands it to
// the setup dialog; registration and the copies into AutoCAD folders work on it.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "deploy/InstallObserver.h"

class RegistryKey;

using StringList = std::vector<std::string>;

constexpr int kReleaseCount = 20;
constexpr int kFirstReleaseYear = 2007;
constexpr int kLastReleaseYear = kFirstReleaseYear + kReleaseCount - 1;

// Tick state per release index, 2007 first; non-zero means selected.
using ReleaseSelection = std::array<int, kReleaseCount>;

class AcadReleaseTable {
   public:
    // Target folder, without trailing backslash; set by the installation before registration.
    std::string installFolder;
    // Per release index: installation folders ("AcadLocation", one trailing backslash
    // removed) and, at the same positions, the product key paths below
    // HKEY_LOCAL_MACHINE (each ending with a backslash).
    std::array<StringList, kReleaseCount> locations;
    std::array<StringList, kReleaseCount> productKeys;
    // Scratch of the value walk: the value looked for, and where and what was found.
    std::string valueName = "AcadLocation";
    StringList foundKeyPaths;
    StringList foundValues;

    // Discovery: both release roots, once, at start-up.
    void findAcadReleases();
    void scanReleaseRoot(const std::string& rootPath, const char* versionPathFormat, int lastYear);
    void collectValues(HKEY parentKey, const std::string& subKeyName, std::string relativePath,
                       std::string basePath);

    // Demand-load keys for each installation of each selected release, then trusted paths;
    // what cannot be written is added to failures.
    void registerReleases(ReleaseSelection selection, FailureLog& failures);
    void registerRelease(int year, FailureLog& failures);
    void addTrustedFolder(FailureLog& failures);

    // Fonts, libraries and host-side modules into each installation folder of each selected
    // release, from the named data folder or (none named) the one beside the program; a
    // missing data folder is told to the observer, each time.
    void deployToReleases(ReleaseSelection selection, InstallObserver& observer, FailureLog& failures,
                          const std::string& namedDataFolder = std::string());
    void deployToLocation(std::string location, bool replacePlotDriver, InstallObserver& observer,
                          FailureLog& failures, const std::string& namedDataFolder = std::string());
};

// Drops one trailing backslash, unless it is the path's only backslash at position 0.
void stripTrailingBackslash(std::string& path);
// Appends the names of the direct subkeys of key that can be opened for reading.
void listSubKeyNames(const RegistryKey& key, StringList& names);
