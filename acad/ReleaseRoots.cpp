// The release roots as this process sees them; see ReleaseRoots.h.
#include "acad/ReleaseRoots.h"

#include <windows.h>

#include "acad/ReleaseRules.h"
#include "framework/Registry.h"

namespace acad {

long openProductKey(const std::string& keyPath, RegistryKey& key) {
    RootedKeyPath path = splitAtReleaseRoot(keyPath);
    if (path.root.empty()) return key.openPath(HKEY_LOCAL_MACHINE, keyPath, kDefaultKeyAccess);
    // The Wow6432Node root must be named in one piece: a 32-bit process that opens SOFTWARE
    // alone already holds the 32-bit view, below which there is no Wow6432Node key.
    RegistryKey root;
    LONG status = root.open(HKEY_LOCAL_MACHINE, path.root, kDefaultKeyAccess);
    if (status != ERROR_SUCCESS) return status;
    return key.openPath(root.get(), path.belowRoot, kDefaultKeyAccess);
}

bool seesRedirectedMachineSoftware() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace acad
