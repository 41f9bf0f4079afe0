// The release roots as this process sees them; see ReleaseRoots.h.
#include "acad/ReleaseRoots.h"

#include <windows.h>

#include "acad/ReleaseRules.h"
#include "framework/KeyPath.h"

namespace acad {

long openProductKey(const std::string& keyPath, RegistryKey& key) {
    return KeyPath{HKEY_LOCAL_MACHINE, keyPath}.open(key, kDefaultKeyAccess);
}

bool seesRedirectedMachineSoftware() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace acad
