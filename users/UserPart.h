// The part of an installation that belongs to one user: the plug-in's folder trusted in every
// AutoCAD profile of theirs, the settings file in their own folder, and, for an installation for
// every user, the value of their Run key that runs the logon step at their logons until that part
// is done. Whoever does it (the dialog and SetUpCmd for the account that runs them, the logon step
// at each user's logon), it is made of these items, recorded in the user's own record.
#pragma once

#include <string>

#include "journal/WorkItem.h"

// Where the settings file comes from, and whether a settings file the user has is replaced: the
// dialog's installation replaces it (as every copy of the installation does); the logon step
// keeps a user's own.
struct SettingsSource {
    std::string file;  // the settings file to copy; empty when none is shipped
    bool replaceUsersOwn = true;
};

struct UserPartPlan {
    WorkItems items;
    // The per-user folder cannot be determined: the settings file has nowhere to go.
    bool userFolderUnknown = false;
    std::string settingsName;  // the settings file's name, for saying so
};
// The items of the current user's part for the plug-in's folder, in the order they are made.
UserPartPlan planUserPart(const std::string& targetFolder, const SettingsSource& settings);

// The value of the user's Run key that runs the logon program at their next logon, named for the
// edition (HKEY_CURRENT_USER\Software is one for 32-bit and 64-bit programs).
constexpr const char* kUserRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
std::string logonRunValueName();
std::string logonRunValuePath();  // as a log names it
// The items that set the logon program to run at the user's next logon.
WorkItems runAtNextLogonItems(const std::string& program);
// Removes the value (the step does not run at the user's logons any more); 0 (also when there was
// none) or the Windows error.
unsigned long stopLogonRuns();

// Whether the user has an AutoCAD profile and every one trusts the folder.
bool everyProfileTrusts(const std::string& folder);
