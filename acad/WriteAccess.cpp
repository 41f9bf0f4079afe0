// Write access to the installations; see WriteAccess.h.
#include "acad/WriteAccess.h"

#include "acad/ReleaseRoots.h"
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

std::string firstUnwritable(const AcadReleaseTable& table, const ReleaseSelection& releases,
                            unsigned long& error) {
    for (int index = 0; index < kReleaseCount; ++index) {
        if (!releases[index]) continue;
        for (std::size_t k = 0; k < table.productKeys[index].size(); ++k) {
            if ((error = keyWriteError(table.productKeys[index][k])) != ERROR_SUCCESS)
                return "HKEY_LOCAL_MACHINE\\" + table.productKeys[index][k];
            if ((error = folderWriteError(table.locations[index][k])) == ERROR_ACCESS_DENIED)
                return table.locations[index][k];
        }
    }
    error = ERROR_SUCCESS;
    return std::string();
}
