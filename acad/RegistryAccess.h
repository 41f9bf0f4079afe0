// Small registry helpers shared by discovery and registration: subkey count and names,
// whole values of any length as text, and opening or creating long key paths.
#pragma once

#include <windows.h>

#include <string>

#include "framework/SystemCodePage.h"

namespace acad {

// Number of direct subkeys; 0 when it cannot be read.
DWORD subKeyCount(HKEY key);
// Name of the subkey at index; false when it cannot be read.
bool subKeyNameAt(HKEY key, DWORD index, std::string& name);

// Reads a value whole, however long, and gives its bytes up to the first zero byte as
// text (whatever its type), and its type. False when the value is absent or unreadable.
bool readValueText(HKEY key, const char* name, std::string& text, DWORD* type = nullptr);
// The same for a value read as UTF-16 (the text up to the first zero character).
bool readWideValue(HKEY key, const wchar_t* name, std::wstring& text, DWORD* type = nullptr);

// Open (RegOpenKeyA, default access) or create (RegCreateKeyA) a key path below root one
// key name at a time. The narrow registry functions convert the whole path through a
// buffer of 260 characters on some systems (Wine does), so longer paths, which
// 255-character key names make possible, would fail if passed in one piece. Empty
// components (a trailing backslash) are skipped.
LONG openKeyPath(HKEY root, const std::string& path, HKEY* key);
LONG createKeyPath(HKEY root, const std::string& path, HKEY* key);

// Opens a product key path recorded by discovery below HKEY_LOCAL_MACHINE the way discovery
// reached it: its release root in one call, then one key name at a time. In a 32-bit process
// on 64-bit Windows only this walk leads back to the same key (see ReleaseDiscovery.cpp).
LONG openProductKey(const std::string& keyPath, HKEY* key);

// True in a 32-bit process on 64-bit Windows (WOW64), where the registry redirector shows
// the native release root as the Wow6432Node one.
bool seesRedirectedMachineSoftware();

}  // namespace acad
