// Release discovery: walks AutoCAD's keys below HKEY_LOCAL_MACHINE once at start-up and
// records, per release, each installation folder with the product key it was found in.
#include <utility>

#include "acad/AcadReleaseTable.h"
#include "acad/ReleaseRoots.h"
#include "acad/ReleaseRules.h"
#include "framework/NarrowString.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"

// Which keys the two roots show depends on the process and on Windows (the registry is read
// in the process's own view, never with a KEY_WOW64_* flag):
// - 64-bit process on 64-bit Windows (the 64 edition): SOFTWARE\Wow6432Node is an ordinary
//   key path to where 64-bit Windows keeps 32-bit programs' keys, so the first root holds
//   32-bit AutoCAD 2007..2010 and the second the 64-bit releases: two different trees.
// - 32-bit process on 64-bit Windows (the 32 edition under WOW64): the registry redirector
//   gives every open of HKLM\SOFTWARE\<x> the 32-bit view, stored at
//   HKLM\SOFTWARE\Wow6432Node\<x>; a path that names Wow6432Node in one piece reaches that
//   same key, but a handle to SOFTWARE already is the 32-bit view and has no Wow6432Node
//   below it. Both roots therefore show the one 32-bit tree, and every 32-bit AutoCAD
//   2007..2010 is met twice. See "Registry Redirector" and "Registry Keys Affected by
//   WOW64" (learn.microsoft.com/windows/win32/winprog64/registry-redirector and
//   .../shared-registry-keys), and "32-bit and 64-bit Application Data in the Registry"
//   (learn.microsoft.com/windows/win32/sysinfo/32-bit-and-64-bit-application-data-in-the-registry).
// - 32-bit Windows: no redirection and no Wow6432Node; only the second root exists.
// Recorded key paths keep the root they were found under; registration opens them the same
// way (root in one call, then name by name), so it reaches the key discovery read.
void AcadReleaseTable::findAcadReleases() {
    // Entries of this root come first in every list.
    scanReleaseRoot(acad::kWow64ReleaseRoot, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\%s\\",
                    acad::kLastWow64Year);
    scanReleaseRoot(acad::kNativeReleaseRoot, "SOFTWARE\\Autodesk\\AutoCAD\\%s\\", acad::kLastYear);
}

namespace {
// Under WOW64 an installation that the first root pass recorded is met again by the second
// at the same place below the other root: it is one key and one installation, recorded,
// registered, copied into and reported once. With two different trees (a 64-bit process)
// both entries are kept.
bool isRecordedAlready(const StringList& productKeys, const StringList& locations, const std::string& keyPath,
                       const std::string& location) {
    if (!acad::seesRedirectedMachineSoftware()) return false;
    for (std::size_t k = 0; k < productKeys.size(); ++k) {
        if (locations[k] == location && acad::sameKeyBelowOtherRoot(productKeys[k], keyPath)) return true;
    }
    return false;
}
}  // namespace

namespace {
struct Walk {
    StringList keyPaths;
    StringList values;
};
}  // namespace

void AcadReleaseTable::scanReleaseRoot(const std::string& rootPath, const char* versionPathFormat,
                                       int lastYear) {
    // With no subkey name the root itself is opened, which the test sandbox may have
    // redirected.
    RegistryKey machine;
    if (machine.open(HKEY_LOCAL_MACHINE, "", kDefaultKeyAccess) != ERROR_SUCCESS) return;
    RegistryKey root;
    if (root.open(machine.get(), rootPath, KEY_READ) != ERROR_SUCCESS) return;
    DWORD versionCount = root.subKeyCount();
    for (DWORD index = 0; index < versionCount; ++index) {
        std::string versionName;
        if (!root.subKeyNameAt(index, versionName)) continue;
        std::string versionPath = narrow::format(versionPathFormat, versionName.c_str());
        RegistryKey version;
        if (version.open(root.get(), versionName, KEY_READ) != ERROR_SUCCESS) continue;

        auto walk = [&](const char* name) {
            foundKeyPaths.clear();
            foundValues.clear();
            valueName = name;
            collectValues(version.get(), "", "", versionPath);
            return Walk{foundKeyPaths, foundValues};
        };
        Walk found = walk("AcadLocation");
        Walk products = walk("ProductName");

        // An installation is a key that holds both values; pair them by exact key path.
        for (std::size_t a = 0; a < found.keyPaths.size(); ++a) {
            std::string location = found.values[a];
            stripTrailingBackslash(location);
            for (std::size_t p = 0; p < products.keyPaths.size(); ++p) {
                if (found.keyPaths[a] != products.keyPaths[p]) continue;
                int year = acad::releaseYearOfProductName(products.values[p], lastYear);
                if (year == 0) continue;
                int index = year - kFirstReleaseYear;
                if (isRecordedAlready(productKeys[index], locations[index], found.keyPaths[a], location))
                    continue;
                productKeys[index].push_back(found.keyPaths[a]);
                locations[index].push_back(location);
            }
        }
    }
}

void AcadReleaseTable::collectValues(HKEY parentKey, const std::string& subKeyName, std::string relativePath,
                                     std::string basePath) {
    // An empty name opens a second handle to parentKey itself.
    RegistryKey key;
    if (key.open(parentKey, subKeyName, KEY_READ) != ERROR_SUCCESS) return;
    std::string text;
    if (key.readText(valueName.c_str(), text)) {
        // The value's type is not looked at; a key that holds the value ends the descent.
        foundKeyPaths.push_back(basePath + relativePath);
        foundValues.push_back(std::move(text));
        return;
    }
    DWORD count = key.subKeyCount();
    for (DWORD index = 0; index < count; ++index) {
        std::string name;
        if (!key.subKeyNameAt(index, name)) continue;
        collectValues(key.get(), name, relativePath + name + "\\", basePath);
    }
}

void stripTrailingBackslash(std::string& path) { acad::stripTrailingBackslash(path, isSystemLeadByte); }

void listSubKeyNames(const RegistryKey& key, StringList& names) {
    DWORD count = key.subKeyCount();
    for (DWORD index = 0; index < count; ++index) {
        std::string name;
        if (!key.subKeyNameAt(index, name)) continue;
        RegistryKey subKey;
        if (subKey.open(key.get(), name, KEY_READ) != ERROR_SUCCESS) continue;
        names.push_back(name);
    }
}
