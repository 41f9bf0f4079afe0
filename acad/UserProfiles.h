// The current user's AutoCAD profiles and the list of trusted folders each keeps: where they
// are, and the list read and written whole as UTF-16 (AutoCAD keeps it so; a narrow read would
// turn every character outside the ANSI code page into '?').
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace acad {

// "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles\<profile>\Variables" below
// HKEY_CURRENT_USER for every profile of every version and product, whatever release they
// belong to; everything is read before anything is written.
std::vector<std::string> profileVariablesKeys();

struct TrustedList {
    DWORD type = REG_SZ;  // REG_SZ or REG_EXPAND_SZ (AutoCAD expands %VARIABLE% entries)
    std::wstring text;
};
// A missing key or value counts as an empty list of type REG_SZ.
TrustedList readTrustedPaths(const std::string& variablesKey);
// Writes the list (creating the key when missing), or deletes the value when the list is
// empty; 0 or the Windows error.
DWORD writeTrustedPaths(const std::string& variablesKey, const TrustedList& list);

// Upper-cases a folder as the file system compares names (the invariant mapping).
std::wstring upperInvariant(const std::wstring& text);

}  // namespace acad
