// Write access to the installations; see WriteAccess.h.
#include "acad/WriteAccess.h"

#include "acad/ReleaseRoots.h"
#include "deploy/InstallRecord.h"
#include "framework/Handles.h"
#include "framework/Paths.h"
#include "framework/Registry.h"

namespace {

// Registration deletes and creates keys below the product key and sets their values.
unsigned long keyWriteError(const std::string& productKey) {
    RegistryKey key;
    LONG status = acad::openProductKey(productKey, key);
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    RegistryKey writable;
    return static_cast<unsigned long>(
        writable.open(key.get(), "", KEY_CREATE_SUB_KEY | KEY_SET_VALUE | DELETE));
}

// A file made and gone at once: what the copies into the folder will need.
unsigned long folderWriteError(const std::string& folder) {
    std::string probe = path::join(folder, "~torlen-write-probe.tmp");
    KernelHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file.valid()) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS ? ERROR_SUCCESS : error;
}

}  // namespace

std::string firstUnwritable(const AcadInstallations& installations, const ReleaseSelection& releases,
                            unsigned long& error) {
    for (const AcadInstallation& installation : selectedInstallations(installations, releases)) {
        if ((error = keyWriteError(installation.productKey)) != ERROR_SUCCESS)
            return "HKEY_LOCAL_MACHINE\\" + installation.productKey;
        if ((error = folderWriteError(installation.location)) == ERROR_ACCESS_DENIED)
            return installation.location;
    }
    error = ERROR_SUCCESS;
    return std::string();
}
