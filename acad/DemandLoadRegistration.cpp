// Demand-load registration: the keys below each selected installation's product key that
// make AutoCAD load the plug-in module and the host-side library at start-up.
#include "acad/DemandLoadRegistration.h"

#include "acad/RegistryAccess.h"
#include "acad/ReleaseRules.h"
#include "framework/BuildConstants.h"
#include "framework/Handles.h"

namespace {

const DWORD kLoadOnStartUp = 2;  // LOADCTRLS: load when AutoCAD starts
const DWORD kManaged = 1;        // MANAGED: a .NET assembly

LONG setDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// AutoCAD's own installers store these strings without the terminating zero counted,
// and earlier versions of this installer did the same.
LONG setText(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size()));
}

// Rebuilds one key with exactly our values. RegDeleteKeyA refuses a key that has subkeys
// of its own; such a key is kept and our values are written over its existing ones.
bool writeKey(HKEY productKey, const acad::DemandLoadKey& entry) {
    RegDeleteKeyA(productKey, entry.path.c_str());
    RegKey key;
    if (acad::createKeyPath(productKey, entry.path, key.out()) != ERROR_SUCCESS) return false;
    bool written = setDword(key.get(), "LOADCTRLS", kLoadOnStartUp) == ERROR_SUCCESS;
    written = setText(key.get(), "LOADER", entry.loader) == ERROR_SUCCESS && written;
    if (entry.managed) written = setDword(key.get(), "MANAGED", kManaged) == ERROR_SUCCESS && written;
    return written;
}

std::string machinePath(const std::string& path) { return "HKEY_LOCAL_MACHINE\\" + path; }

}  // namespace

void registerReleaseForPlatform(AcadReleaseTable& table, int year, int bits) {
    acad::ReleaseFiles files;
    if (!acad::releaseFiles(year, files)) return;
    const StringList& productKeys = table.productKeys[files.index];
    for (std::size_t k = 0; k < productKeys.size(); ++k) {
        RegKey productKey;
        if (acad::openProductKey(productKeys[k], productKey.out()) != ERROR_SUCCESS) {
            table.registrationFailures.push_back(machinePath(productKeys[k]));
            continue;
        }
        const std::string& location = table.locations[files.index][k];
        for (const acad::DemandLoadKey& entry :
             acad::demandLoadKeys(year, bits, table.installFolder, location)) {
            if (!writeKey(productKey.get(), entry))
                table.registrationFailures.push_back(machinePath(productKeys[k] + entry.path));
        }
    }
}

void AcadReleaseTable::registerRelease(int year) { registerReleaseForPlatform(*this, year, platformBits); }

void AcadReleaseTable::registerReleases(ReleaseSelection selection) {
    registrationFailures.clear();
    for (int index = 0; index < kReleaseCount; ++index) {
        if (selection[index] != 0) registerRelease(kFirstReleaseYear + index);
    }
    addTrustedFolder();
}
