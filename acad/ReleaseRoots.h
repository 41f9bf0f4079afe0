// The release roots as this process sees them (see the view notes in ReleaseDiscovery.cpp):
// opening a product key the way discovery reached it, and whether both roots show one tree.
#pragma once

#include <string>

class RegistryKey;

namespace acad {

// Opens a product key path recorded by discovery below HKEY_LOCAL_MACHINE: its release root
// in one call, then one key name at a time; in a 32-bit process on 64-bit Windows only this
// walk leads back to the key discovery read. Access: what the caller may have.
long openProductKey(const std::string& keyPath, RegistryKey& key);

// True in a 32-bit process on 64-bit Windows (WOW64), where the registry redirector shows
// the native release root as the Wow6432Node one.
bool seesRedirectedMachineSoftware();

}  // namespace acad
