// Release discovery: walks AutoCAD's keys below HKEY_LOCAL_MACHINE once at start-up and
// records, per release, each installation folder with the product key it was found in.
#include <utility>

#include "acad/AcadReleaseTable.h"
#include "acad/RegistryAccess.h"
#include "acad/ReleaseRules.h"
#include "framework/Handles.h"
#include "framework/NarrowString.h"

void AcadReleaseTable::findAcadReleases() {
    // A 64-bit process sees the 32-bit registry view as an ordinary key path, so the
    // releases up to 2010 that were installed in their 32-bit edition are found there.
    // Entries of this root come first in every list.
    scanReleaseRoot("SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD",
                    "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\%s\\", acad::kLastWow64Year);
    scanReleaseRoot("SOFTWARE\\Autodesk\\AutoCAD", "SOFTWARE\\Autodesk\\AutoCAD\\%s\\", acad::kLastYear);
}

namespace {
struct Walk {
    StringList keyPaths;
    StringList values;
};
}  // namespace

void AcadReleaseTable::scanReleaseRoot(const std::string& rootPath, const char* versionPathFormat,
                                       int lastYear) {
    // With no subkey name RegOpenKeyA hands back the root itself, which the test
    // sandbox may have redirected.
    RegKey machine;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, nullptr, machine.out()) != ERROR_SUCCESS) return;
    RegKey root;
    if (RegOpenKeyExA(machine.get(), rootPath.c_str(), 0, KEY_READ, root.out()) != ERROR_SUCCESS) return;
    DWORD versionCount = acad::subKeyCount(root.get());
    for (DWORD index = 0; index < versionCount; ++index) {
        std::string versionName;
        if (!acad::subKeyNameAt(root.get(), index, versionName)) continue;
        std::string versionPath = narrow::format(versionPathFormat, versionName.c_str());
        RegKey version;
        if (RegOpenKeyExA(root.get(), versionName.c_str(), 0, KEY_READ, version.out()) != ERROR_SUCCESS)
            continue;

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
                productKeys[year - kFirstReleaseYear].push_back(found.keyPaths[a]);
                locations[year - kFirstReleaseYear].push_back(location);
            }
        }
    }
}

void AcadReleaseTable::collectValues(HKEY parentKey, const std::string& subKeyName, std::string relativePath,
                                     std::string basePath) {
    // An empty name opens a second handle to parentKey itself.
    RegKey key;
    if (RegOpenKeyExA(parentKey, subKeyName.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) return;
    std::string text;
    if (acad::readValueText(key.get(), valueName.c_str(), text)) {
        // The value's type is not looked at; a key that holds the value ends the descent.
        foundKeyPaths.push_back(basePath + relativePath);
        foundValues.push_back(std::move(text));
        return;
    }
    DWORD count = acad::subKeyCount(key.get());
    for (DWORD index = 0; index < count; ++index) {
        std::string name;
        if (!acad::subKeyNameAt(key.get(), index, name)) continue;
        collectValues(key.get(), name, relativePath + name + "\\", basePath);
    }
}

void stripTrailingBackslash(std::string& path) { acad::dropTrailingBackslash(path, isSystemLeadByte); }

void listSubKeyNames(HKEY key, StringList& names) {
    DWORD count = acad::subKeyCount(key);
    for (DWORD index = 0; index < count; ++index) {
        std::string name;
        if (!acad::subKeyNameAt(key, index, name)) continue;
        RegKey subKey;
        if (RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, subKey.out()) != ERROR_SUCCESS) continue;
        names.push_back(name);
    }
}
