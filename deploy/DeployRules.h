// What the deployment decides without touching Windows: which entries of the setup data
// folder are copied and where, which files go into every AutoCAD folder, which of its paths
// is too long for the narrow file functions, and which folder is the per-user one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "deploy/ProductNames.h"
#include "framework/Paths.h"

// What the walk over the setup data folder does with one entry.
enum class EntryAction {
    Skip,              // ".", "..", sub-folders, and files meant for AutoCAD or the installer itself
    CopyToTarget,      // an ordinary plug-in file
    CopyToUserFolder,  // the settings file "Torlen.Ini"
};

EntryAction entryAction(const std::string& name, bool isFolder);

// The settings file, in any letter case.
bool isSettingsFileName(const std::string& name);

// Files of the setup data folder that never go into the target folder.
bool isSkippedFileName(const std::string& name);

// One copy into an AutoCAD installation folder: the source's name in the setup data folder,
// the sub-folder of the location it goes into ("" for the location itself), and the name
// it gets there.
struct ReleaseCopy {
    enum class Kind {
        Own,         // a file only the plug-in ships (its fonts, its host-side modules)
        Shared,      // a library other programs ship too (itextsharp.dll)
        Replacement  // AutoCAD's own file the plug-in replaces (AutoCAD 2008's plot driver)
    };
    std::string sourceName;
    std::string subFolder;
    std::string destinationName;
    Kind kind;
};

// The host-side modules tried for every location: ACAD2007P.dll .. ACAD2050P.dll.
constexpr int kFirstHostModuleYear = 2007;
constexpr int kLastHostModuleYear = 2050;
std::vector<std::string> hostModuleNames();
// "ACAD<year>P.dll".
std::string hostModuleName(int year);

// Fonts, itextsharp.dll, the host-side modules, and (AutoCAD 2008 only) the plot driver,
// in the order in which they are copied.
std::vector<ReleaseCopy> releaseCopies(bool replacePlotDriver);

// Windows Installer's file-versioning rules, for a file already at the destination: a file with
// a version is replaced only by a higher version; one without, by a file with a version, or by
// one that is not the same (the caller compares the contents). Versions as
// (major << 48 | minor << 32 | build << 16 | revision); 0 for a file without one.
enum class Overwrite { Yes, No, IfDifferent };
Overwrite overwriteRule(unsigned long long incomingVersion, unsigned long long existingVersion);

// The AutoCAD release whose locations get the replacement plot driver.
constexpr int kPlotDriverYear = 2008;

// A path the installation will create (a folder) or write or read (a file).
struct PlannedPath {
    std::string path;
    bool isFolder;
};
// The longest of the paths that exceed their limit; empty when every path fits.
std::string longestOverlongPath(const std::vector<PlannedPath>& paths,
                                path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

// The security of the plug-in's folder, as SDDL: only SYSTEM, the Administrators and the
// installing user may change it; the Users may read and run what is in it. Protected, so
// that nothing granted to the folder above (on C:\ the Authenticated Users may modify) is
// inherited; every file and folder in it inherits these entries.
std::string pluginFolderSddl(const std::string& installingUserSid);

// The parent of the per-user folder: the "APPDATA" value when it is set and short enough
// for "\Torlen\Torlen.Ini" to fit the path limit, otherwise the roaming application-data folder as
// the shell reports it (empty when that is unknown too).
std::string chooseAppDataFolder(bool appDataSet, const std::string& appDataValue,
                                const std::string& shellAppDataFolder,
                                path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

// The per-user folder ("<application data>\Torlen") and a file in it.
std::string userSettingsFolder(const std::string& appDataFolder);
std::string userSettingsPath(const std::string& appDataFolder, const std::string& name);

// The copy of the settings file that an installation for every user keeps in the plug-in's
// folder, for each user's first logon, and its folder.
std::string keptSettingsFolder(const std::string& targetFolder);
std::string keptSettingsPath(const std::string& targetFolder);
