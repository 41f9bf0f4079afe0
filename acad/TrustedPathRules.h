// How the target folder is added to an AutoCAD profile's list of trusted folders, and
// where those lists live below HKEY_CURRENT_USER.
//
// AutoCAD keeps the list (TRUSTEDPATHS) as UTF-16 text; it holds folders of every program
// that asked AutoCAD to trust one, in any script. The list is therefore edited as UTF-16 and
// only appended to: every existing entry keeps its characters, letter case and place.
#pragma once

#include <string>

namespace acad {

// "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles".
std::string profileRootPath(const std::string& version, const std::string& product);
// "<profileRoot>\<profile>\Variables".
std::string variablesKeyPath(const std::string& profileRoot, const std::string& profile);

// Upper-cases a folder path for comparison; AutoCAD, like the file system, compares folders
// without regard to case. The default maps a..z only; Windows code passes its own mapping.
using UpperCase = std::wstring (*)(const std::wstring& text);
std::wstring upperAscii(const std::wstring& text);

// Whether the list already trusts the folder: an entry (the list split at ';') names it,
// ignoring case and one trailing backslash, or trusts it through AutoCAD's recursive form
// "<folder or an ancestor>\...". A longer folder that merely starts with the same text
// (D:\PLOTTER, D:\PLOT\OLD for D:\PLOT) is another folder.
bool trustsFolder(const std::wstring& list, const std::wstring& folder, UpperCase upper = upperAscii);

// The new TRUSTEDPATHS text: the folder alone for a list without entries (empty, or only
// separators); the list unchanged when it already trusts the folder; otherwise the list as it
// is with ";" and the folder upper-cased appended (as earlier installations wrote it).
std::wstring composeTrustedPaths(const std::wstring& current, const std::wstring& folder,
                                 UpperCase upper = upperAscii);

// The list without the entries that name the folder (ignoring case and one trailing
// backslash), each taken out with one separator beside it: the exact undoing of
// composeTrustedPaths. Every other entry, a recursive "\..." one included, stays as it was.
std::wstring removeTrustedFolder(const std::wstring& list, const std::wstring& folder,
                                 UpperCase upper = upperAscii);

}  // namespace acad
