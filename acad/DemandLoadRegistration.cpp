// Demand-load registration: the keys below each selected installation's product key that
// make AutoCAD load the plug-in module and the host-side library at start-up.
#include "acad/DemandLoadRegistration.h"

#include "acad/ReleaseRoots.h"
#include "acad/ReleaseRules.h"
#include "framework/BuildConstants.h"
#include "framework/Registry.h"

namespace {

const DWORD kLoadOnStartUp = 2;  // LOADCTRLS: load when AutoCAD starts
const DWORD kManaged = 1;        // MANAGED: a .NET assembly

// Rebuilds one key with exactly our values; 0, or the first error. A key with subkeys of its
// own cannot be deleted: it is kept and our values are written over its existing ones.
// "LOADER" is stored without its terminating zero counted, as AutoCAD's own installers and
// earlier versions of this installer store it.
LONG writeKey(const RegistryKey& productKey, const acad::DemandLoadKey& entry) {
    productKey.deleteSubKey(entry.path);
    RegistryKey key;
    LONG status = key.createPath(productKey.get(), entry.path, kDefaultKeyAccess);
    if (status != ERROR_SUCCESS) return status;
    LONG first = key.writeDword("LOADCTRLS", kLoadOnStartUp);
    LONG next = key.writeText("LOADER", entry.loader);
    if (first == ERROR_SUCCESS) first = next;
    if (entry.managed) next = key.writeDword("MANAGED", kManaged);
    return first == ERROR_SUCCESS ? next : first;
}

std::string machinePath(const std::string& path) { return "HKEY_LOCAL_MACHINE\\" + path; }

}  // namespace

void registerReleaseForPlatform(AcadReleaseTable& table, int year, int bits, FailureLog& failures) {
    acad::ReleaseFiles files;
    if (!acad::releaseFiles(year, files)) return;
    const StringList& productKeys = table.productKeys[files.index];
    for (std::size_t k = 0; k < productKeys.size(); ++k) {
        RegistryKey productKey;
        if (LONG status = acad::openProductKey(productKeys[k], productKey); status != ERROR_SUCCESS) {
            failures.push_back(
                {Failure::Action::OpenKey, machinePath(productKeys[k]), static_cast<DWORD>(status)});
            continue;
        }
        const std::string& location = table.locations[files.index][k];
        for (const acad::DemandLoadKey& entry :
             acad::demandLoadKeys(year, bits, table.installFolder, location)) {
            if (LONG status = writeKey(productKey, entry); status != ERROR_SUCCESS)
                failures.push_back({Failure::Action::WriteKey, machinePath(productKeys[k] + entry.path),
                                    static_cast<DWORD>(status)});
        }
    }
}

void AcadReleaseTable::registerRelease(int year, FailureLog& failures) {
    registerReleaseForPlatform(*this, year, platformBits, failures);
}

void AcadReleaseTable::registerReleases(ReleaseSelection selection, FailureLog& failures) {
    for (int index = 0; index < kReleaseCount; ++index) {
        if (selection[index] != 0) registerRelease(kFirstReleaseYear + index, failures);
    }
    addTrustedFolder(failures);
}
