// Decisions about AutoCAD releases that need no registry: which release a product name
// names, which module files serve a release, and the demand-load keys written for it.
#pragma once

#include <string>
#include <vector>

#include "framework/Paths.h"

// The AutoCAD releases the installer knows, 2007 to 2026; a release's index is year - 2007.
constexpr int kFirstReleaseYear = 2007;
constexpr int kLastReleaseYear = 2026;
constexpr int kReleaseCount = kLastReleaseYear - kFirstReleaseYear + 1;

namespace acad {

// The Wow6432Node root only ever held releases up to 2010.
constexpr int kLastWow64Year = 2010;

// The two release roots below HKEY_LOCAL_MACHINE, in the order discovery scans them. Every
// product key path discovery records starts with one of them and a backslash.
constexpr const char* kWow64ReleaseRoot = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD";
constexpr const char* kNativeReleaseRoot = "SOFTWARE\\Autodesk\\AutoCAD";

// A recorded product key path split into the release root it lies below and the key names
// under that root ("R17.2\ACAD-7001:804\"). A path below neither root gives an empty
// root and the whole path as the rest.
struct RootedKeyPath {
    std::string root;
    std::string belowRoot;
};
RootedKeyPath splitAtReleaseRoot(const std::string& keyPath);

// True when two recorded key paths lie below different release roots at the same place:
// in a process whose native root is redirected to the Wow6432Node root, one key.
bool sameKeyBelowOtherRoot(const std::string& keyPath, const std::string& otherKeyPath);

// The first year from 2007 to lastYear whose four digits occur in productName, first
// occurrence after the name's first character; 0 when none does. A name that begins
// with the year is not taken as naming it.
int releaseYearOfProductName(const std::string& productName, int lastYear);

// Which files serve a release: the plug-in module family (TL_DodudEdiv<moduleYear>.ARX)
// and the host-side library family (ACAD<libraryYear>P.dll).
struct ReleaseFiles {
    int moduleYear;
    int libraryYear;
};
// False for a year outside 2007..2026.
bool releaseFiles(int year, ReleaseFiles& files);

// One key below a product key that makes AutoCAD load a module at start-up.
struct DemandLoadKey {
    std::string path;    // relative to the product key, e.g. "Applications\TL_DodudEdiv2014"
    std::string loader;  // full path of the module
    bool managed;        // a .NET assembly: "MANAGED" = 1 is written too
};

// The keys of one installation of a release, in the order they are written: the module
// key, the extra module key of the 64 edition for 2009 and 2010, the library key. Empty
// for a year outside 2007..2026. installFolder and location carry no trailing backslash.
std::vector<DemandLoadKey> demandLoadKeys(int year, int platformBits, const std::string& installFolder,
                                          const std::string& location);

// Drops one trailing backslash unless it is the path's first character (a lone "\" stays).
// The search steps over double-byte characters, whose trail byte may equal '\'.
void stripTrailingBackslash(std::string& path, path::LeadByteTest isLeadByte);

// Whether this edition installs for a release: the 32 edition serves AutoCAD 2007..2016 (the
// later releases are 64-bit programs only), the 64 edition every release.
bool editionServes(int year, int platformBits);

// Whether a key below a product key's "Applications" is one the installer writes: a module key
// ("TL_DodudEdiv<year>", "TL_DodudEdiv<year>_32") or a library key ("Torlen<year>DLLP").
bool isPluginKeyName(const std::string& name);
// Whether a LOADER file name is one of the plug-in's: a module "TL_DodudEdiv<year>[_32].ARX"
// or a host-side library "ACAD<year>P.dll" (any letter case).
bool isPluginModuleName(const std::string& fileName);
bool isHostModuleName(const std::string& fileName);

// True when an executable file name contains "acad.exe", in any letter case: AutoCAD runs.
bool isAcadProcessName(const std::string& exeName);

}  // namespace acad
