// Demand-load registration: the keys below each selected installation's product key that
// make AutoCAD load the plug-in module and the host-side library at start-up.
#include "acad/Registration.h"

#include "acad/ReleaseRoots.h"
#include "acad/ReleaseRules.h"
#include "deploy/InstallRecord.h"
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

void registerInstallation(const AcadInstallation& installation, int bits, const std::string& installFolder,
                          FailureLog& failures, InstallRecorder* recorder) {
    RegistryKey productKey;
    if (LONG status = acad::openProductKey(installation.productKey, productKey); status != ERROR_SUCCESS) {
        failures.push_back(
            {Failure::Action::OpenKey, machinePath(installation.productKey), static_cast<DWORD>(status)});
        return;
    }
    for (const acad::DemandLoadKey& entry :
         acad::demandLoadKeys(installation.year, bits, installFolder, installation.location)) {
        LONG status = writeKey(productKey, entry);
        // Recorded even when a value failed: the key may have been made.
        if (recorder) recorder->key(installation.productKey, entry.path);
        if (status != ERROR_SUCCESS)
            failures.push_back({Failure::Action::WriteKey, machinePath(installation.productKey + entry.path),
                                static_cast<DWORD>(status)});
    }
}

void registerReleases(const AcadInstallations& installations, const ReleaseSelection& selection,
                      const std::string& installFolder, FailureLog& failures, InstallRecorder* recorder,
                      bool currentUser) {
    for (const AcadInstallation& installation : selectedInstallations(installations, selection))
        registerInstallation(installation, platformBits, installFolder, failures, recorder);
    if (currentUser) addTrustedFolder(installFolder, failures, recorder);
}
