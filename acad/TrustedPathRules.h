// How the target folder is added to an AutoCAD profile's list of trusted folders, and
// where those lists live below HKEY_CURRENT_USER.
#pragma once

#include <string>

#include "framework/NarrowString.h"

namespace acad {

// "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles".
std::string profileRootPath(const std::string& version, const std::string& product);
// "<profileRoot>\<profile>\Variables".
std::string variablesKeyPath(const std::string& profileRoot, const std::string& profile);

// The new TRUSTEDPATHS text. A list of 2 bytes or fewer (empty, ";", ".") is replaced by
// the folder as it is. A longer list is upper-cased, as AutoCAD and earlier installations
// keep it, and gets ";" and the upper-cased folder appended unless the folder already
// occurs in it (substring test on whole characters).
std::string composeTrustedPaths(const std::string& current, const std::string& folder,
                                narrow::LeadByteTest isLeadByte);

}  // namespace acad
