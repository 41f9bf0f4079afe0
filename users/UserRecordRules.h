// The trust boundary of a user's own record. The record of a user's part lives in that user's
// registry, which the user may write: to an administrator's or SYSTEM's run (an uninstallation
// for every user, a Windows Installer package's removal) it is data to check, never a list of
// orders. An item is acted on only when undoing it can change nothing but that user's own things:
// a trusted entry in one of their AutoCAD profiles, the value of their Run key that runs the logon
// step, and their settings file and its folder inside their own profile. Pure code (no Windows
// headers); the Windows side confirms a file's place and owner on the file itself (UserFiles.h).
#pragma once

#include <string>

#include "framework/Paths.h"
#include "journal/ItemRecord.h"

namespace userrecord {

enum class Verdict {
    InUsersRegistry,  // a trusted entry or the Run value (or what a run kept of it): undone within
                      // the user's own registry
    UsersFile,        // the settings file or its folder, or the settings file a run moved aside
                      // beside itself: undone once its place and owner are confirmed
    Refused,          // anything else: left alone and logged
};

// What may be done with an item of a user's record. runValueName is the edition's Run value.
Verdict judge(const ItemRecord& item, const std::string& runValueName,
              path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

// Whether a path lies inside a folder (below it, not the folder itself), comparing without regard
// to letter case and with whole names only ("C:\Users\ann" does not hold "C:\Users\anna\x").
bool liesInside(const std::string& path, const std::string& folder,
                path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

}  // namespace userrecord
