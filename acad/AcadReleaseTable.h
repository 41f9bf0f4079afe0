// The process-wide record of the AutoCAD installations found on this machine: per release
// (index 0..19 for AutoCAD 2007..2026) the installation folders and the registry product
// keys they were found under, plus the target folder chosen by the user. Discovery fills
// it at start-up; registration and the copies into AutoCAD folders read it.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

using StringList = std::vector<std::string>;

constexpr int kReleaseCount = 20;
constexpr int kFirstReleaseYear = 2007;
constexpr int kLastReleaseYear = kFirstReleaseYear + kReleaseCount - 1;

// Tick state per release index, 2007 first; non-zero means selected.
using ReleaseSelection = std::array<int, kReleaseCount>;

class AcadReleaseTable {
   public:
    // Target folder, without trailing backslash; set by the install command.
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

    // What the silent steps could not do, for the install command to tell the user:
    // registry keys that could not be written, and files that could not be copied into
    // an AutoCAD folder that exists.
    StringList registrationFailures;
    StringList releaseCopyFailures;

    // Discovery: both release roots, once, at start-up.
    void findAcadReleases();
    void scanReleaseRoot(const std::string& rootPath, const char* versionPathFormat, int lastYear);
    void collectValues(HKEY parentKey, const std::string& subKeyName, std::string relativePath,
                       std::string basePath);

    // Demand-load keys for each installation of each selected release, then trusted paths.
    void registerReleases(ReleaseSelection selection);
    void registerRelease(int year);
    void addTrustedFolder();

    // Fonts, libraries and host-side modules into each installation folder of each
    // selected release.
    void deployToReleases(ReleaseSelection selection);
    void deployToLocation(std::string location, bool replacePlotDriver);
};

// Drops one trailing backslash, unless it is the path's only backslash at position 0.
void stripTrailingBackslash(std::string& path);
// Appends the names of the direct subkeys of key that can be opened for reading.
void listSubKeyNames(HKEY key, StringList& names);

// The one table of the process (defined with the application object, so that it is
// constructed after it and destroyed before it).
extern AcadReleaseTable acadReleaseTable;
