// Whether this process may change what a run will change, asked of Windows without changing
// anything: an access check of the process's token against each folder's security, and each key
// opened for the access writing it needs. A user without administrator rights may not write
// AutoCAD's keys and folders; the dialog then asks for the rights (the shield, a restart
// elevated), the unattended installer refuses (740), before anything is changed.
#pragma once

#include <string>
#include <vector>

// What a run will write: keys below HKEY_LOCAL_MACHINE (the process's view) and folders.
struct RightsNeeded {
    std::vector<std::string> keys;     // created, written and deleted below (must exist)
    std::vector<std::string> parents;  // keys made below them where missing (the first existing one counts)
    std::vector<std::string> folders;  // files added and replaced in them
};

struct RightsGap {
    std::string subject;      // the first key (HKEY_LOCAL_MACHINE\...) or folder that cannot be written
    unsigned long error = 0;  // and why; empty subject and 0 when everything can
    explicit operator bool() const { return !subject.empty(); }
};
RightsGap firstUnwritable(const RightsNeeded& needed);

// 0 when this process may add files and folders to the folder, else the Windows error
// (ERROR_ACCESS_DENIED, or why its security could not be read). A folder that does not exist
// counts as writable here: making it is the run's business.
unsigned long folderWriteError(const std::string& folder);
