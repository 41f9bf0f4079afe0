// The target-folder rule, the same for every front end (the dialog's path field, SetUpCmd's
// --folder): whether a typed folder can be used, and the plug-in's folder below it. Pure code
// (no Windows headers).
#pragma once

#include <string>

#include "framework/Paths.h"

// The chosen folder with one trailing backslash dropped (a double-byte character whose
// second byte is 0x5C is not a backslash). Empty when nothing usable is left.
std::string chosenFolder(const std::string& pathField,
                         path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

// The folder the plug-in is installed into: the chosen folder followed by \T-DodudEdiv.
std::string targetFolderIn(const std::string& chosen);

// What the Install command makes of the path field, before anything is created: the
// folder picker's rules (a drive letter, colon and backslash, then valid folder names) apply
// to a typed path too, so that nothing is installed relative to the current folder or under
// a name Windows changes; and the folder must fit in AutoCAD's trusted-folder list.
enum class PathFieldVerdict {
    Usable,         // chosen holds the folder (one trailing backslash dropped)
    Empty,          // nothing, or a lone backslash
    Invalid,        // not a full, valid folder path
    ListSeparator,  // holds a ';'
};
PathFieldVerdict checkPathField(const std::string& pathField, std::string& chosen,
                                path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

// Whether a folder that a demand-load key names can be the plug-in's own, installed by an
// earlier build that kept no record: an absolute, valid folder path whose last name is
// T-DodudEdiv (in any letter case). Anything else belongs to someone else.
bool isPluginFolderPath(const std::string& folder, path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);
