// Release discovery: walks AutoCAD's keys below HKEY_LOCAL_MACHINE once at start-up and
// records each installation: its release, the product key it was found in, its folder.
#include <algorithm>
#include <utility>

#include "acad/AcadInstallations.h"
#include "acad/ReleaseRoots.h"
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

namespace {

// A key that holds the value looked for, by its full path, and the value's text.
struct FoundValue {
    std::string keyPath;
    std::string text;
};

// Every key at or below subKeyName of parentKey that holds the value; a key that holds it ends
// the descent there. The value's type is not looked at.
void collectValues(HKEY parentKey, const std::string& subKeyName, const std::string& keyPath,
                   const char* valueName, std::vector<FoundValue>& found) {
    // An empty name opens a second handle to parentKey itself.
    RegistryKey key;
    if (key.open(parentKey, subKeyName, KEY_READ) != ERROR_SUCCESS) return;
    std::string text;
    if (key.readText(valueName, text)) {
        found.push_back({keyPath, std::move(text)});
        return;
    }
    DWORD count = key.subKeyCount();
    for (DWORD index = 0; index < count; ++index) {
        std::string name;
        if (key.subKeyNameAt(index, name))
            collectValues(key.get(), name, keyPath + name + "\\", valueName, found);
    }
}

// Under WOW64 an installation that the first root pass recorded is met again by the second
// at the same place below the other root: it is one key and one installation, recorded,
// registered, copied into and reported once. With two different trees (a 64-bit process)
// both entries are kept.
bool isRecordedAlready(const AcadInstallations& found, const AcadInstallation& candidate) {
    if (!acad::seesRedirectedMachineSoftware()) return false;
    return std::any_of(found.begin(), found.end(), [&](const AcadInstallation& recorded) {
        return recorded.location == candidate.location &&
               acad::sameKeyBelowOtherRoot(recorded.productKey, candidate.productKey);
    });
}

// An installation is a key that holds both values: the pairs of one version key, by exact
// key path.
void recordInstallations(const std::vector<FoundValue>& locations, const std::vector<FoundValue>& products,
                         int lastYear, AcadInstallations& found) {
    for (const FoundValue& location : locations) {
        for (const FoundValue& product : products) {
            if (location.keyPath != product.keyPath) continue;
            int year = acad::releaseYearOfProductName(product.text, lastYear);
            if (year == 0) continue;
            AcadInstallation installation{year, location.keyPath, location.text};
            stripTrailingBackslash(installation.location);
            if (!isRecordedAlready(found, installation)) found.push_back(std::move(installation));
        }
    }
}

void scanReleaseRoot(const std::string& rootPath, int lastYear, AcadInstallations& found) {
    // With no subkey name the root itself is opened, which the test sandbox may have
    // redirected.
    RegistryKey machine, root;
    if (machine.open(HKEY_LOCAL_MACHINE, "", kDefaultKeyAccess) != ERROR_SUCCESS ||
        root.open(machine.get(), rootPath, KEY_READ) != ERROR_SUCCESS)
        return;
    DWORD versionCount = root.subKeyCount();
    for (DWORD index = 0; index < versionCount; ++index) {
        std::string versionName;
        RegistryKey version;
        if (!root.subKeyNameAt(index, versionName) ||
            version.open(root.get(), versionName, KEY_READ) != ERROR_SUCCESS)
            continue;
        const std::string versionPath = rootPath + "\\" + versionName + "\\";
        std::vector<FoundValue> locations, products;
        collectValues(version.get(), "", versionPath, "AcadLocation", locations);
        collectValues(version.get(), "", versionPath, "ProductName", products);
        recordInstallations(locations, products, lastYear, found);
    }
}

}  // namespace

AcadInstallations findAcadReleases() {
    AcadInstallations found;
    // Entries of this root come first within each release.
    scanReleaseRoot(acad::kWow64ReleaseRoot, acad::kLastWow64Year, found);
    scanReleaseRoot(acad::kNativeReleaseRoot, kLastReleaseYear, found);
    std::stable_sort(found.begin(), found.end(),
                     [](const AcadInstallation& a, const AcadInstallation& b) { return a.year < b.year; });
    return found;
}

bool isSelected(const ReleaseSelection& selection, int year) {
    return year >= kFirstReleaseYear && year <= kLastReleaseYear &&
           selection[static_cast<std::size_t>(releaseIndex(year))] != 0;
}

AcadInstallations selectedInstallations(const AcadInstallations& installations,
                                        const ReleaseSelection& selection) {
    AcadInstallations selected;
    for (const AcadInstallation& installation : installations)
        if (isSelected(selection, installation.year)) selected.push_back(installation);
    return selected;
}

bool wasFound(const AcadInstallations& installations, int year) {
    return std::any_of(installations.begin(), installations.end(),
                       [year](const AcadInstallation& installation) { return installation.year == year; });
}

std::string productNameOf(const std::string& productKey) {
    RegistryKey key;
    std::string name;
    if (acad::openProductKey(productKey, key) == ERROR_SUCCESS) key.readText("ProductName", name);
    return name;
}

void stripTrailingBackslash(std::string& path) { acad::stripTrailingBackslash(path, isSystemLeadByte); }
