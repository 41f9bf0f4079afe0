// What of the plug-in is in place on this machine, release by release, as a deployment tool's
// detection rule asks: the demand-load keys with the files they name, the plug-in's files in
// the AutoCAD folder, and whether every AutoCAD profile of the current user trusts its folder.
#pragma once

#include <string>
#include <vector>

#include "acad/AcadInstallations.h"

struct PresentItem {
    std::string name;  // a key path below HKEY_LOCAL_MACHINE, a file path, or a profile's key
    bool present;
};

struct InstallationStatus {
    int year;
    std::string productName;
    std::string productKey;
    std::string location;
    std::vector<PresentItem> keys;     // each demand-load key this edition writes for the release
    std::vector<PresentItem> loaders;  // the files their LOADER values name
    std::vector<PresentItem> files;    // the plug-in's files in the AutoCAD folder
    bool complete() const;
};

struct PluginStatus {
    std::vector<InstallationStatus> installations;
    std::vector<std::string> pluginFolders;  // where the module keys' LOADER values point
    std::vector<PresentItem> profiles;       // the current user's profiles: trusts a plug-in folder
    // The build the installation's record names (0: no record, as after an installation by an
    // earlier build), and whether its last run finished (false: it stopped part-way).
    unsigned long installedBuild = 0;
    bool recordComplete = true;
    // True when there is something to look at and all of it is in place.
    bool complete() const;
};

// The status of every installation of the selected releases (all found: select them all).
PluginStatus inspectPlugin(const AcadInstallations& installations, const ReleaseSelection& releases,
                           int platformBits);
