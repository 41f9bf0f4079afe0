// Registry set-ups shared by the acad tests: AutoCAD installations below
// HKEY_LOCAL_MACHINE, and keys whose security or kind makes them unreadable or unwritable.
#pragma once

#include <windows.h>

#include <string>

#include "support/Sandbox.h"

const char* const kNativeRoot = "SOFTWARE\\Autodesk\\AutoCAD\\";
const char* const kWowRoot = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\";
// Where HKLM\SOFTWARE\Autodesk\AutoCAD as this test program sees it is stored: below
// Wow6432Node for a 32-bit program on 64-bit Windows (whose registry is redirected there).
inline std::string ownViewRoot() { return isWow64Process() ? kWowRoot : kNativeRoot; }

// Creates root\<path> one key name at a time (Wine's narrow registry functions refuse
// paths beyond 260 characters) and returns it open; the caller closes it.
HKEY createKeyByNames(HKEY root, const std::string& path);
void setStringByNames(HKEY root, const std::string& path, const std::string& name, const std::string& value);

// Writes "AcadLocation" and "ProductName" into HKLM\<keyPath>.
void addInstallation(const std::string& keyPath, const std::string& location, const std::string& productName);

// A key that everyone may read but nobody may change.
const char* const kReadOnlySddl = "D:P(A;;KR;;;WD)";
// A key nobody may open.
const char* const kNoAccessSddl = "D:P(D;;KA;;;WD)";
// Whether the security descriptors above are honoured: whether a key of this path can be
// opened for reading (false = refused as it should be).
bool canOpenForRead(HKEY root, const std::string& path);
// Whether a value can be written into the key when it is opened with the default access
// (Wine checks a key's DACL when it is opened, but not when a subkey is created in it).
bool canSetValue(HKEY root, const std::string& path);

// Creates HKLM/HKCU\<path> as a volatile key (and its parents as ordinary keys): the
// registry refuses ordinary subkeys below it.
void createVolatileKey(HKEY root, const std::string& path);
