// Taking the per-user part away (users/UserPart.h): the items of a user's own record, last first
// (the trusted entries added, an entry the user had before staying; the settings file copied,
// kept when the user has changed it since; the folder made, when empty), and the value that runs
// the logon step at the user's logon. An uninstallation does it for every user it reaches (their
// registry stands for HKEY_CURRENT_USER meanwhile); the logon step does it for a user it could not
// reach, at their next logon. A user's record is theirs to write: only what lies within their own
// registry and profile is acted on (users/UserRecordRules.h); everything else is refused and logged.
#pragma once

#include <string>
#include <vector>

#include "journal/Failure.h"
#include "journal/SetupLog.h"
#include "users/UserFiles.h"

struct UserPartRemoval {
    // Could not be undone now (a file held open by another program, a key that cannot be
    // written): left for the user's next logon.
    FailureLog failures;
    bool hadPart = false;
};

// The part of the user HKEY_CURRENT_USER stands for; with purge, a settings file the user changed
// goes too. Logged, keys named below the user's registry name.
UserPartRemoval removeCurrentUsersPart(const UserIdentity& user, bool purge, SetupLog& log);

struct EveryUserRemoval {
    std::string componentVersion;  // the logon step's version registered before (empty: none)
    // Users whose part could not be taken away: their registry could not be loaded, something of
    // theirs could not be removed, or their profile roams (the server's copy comes back at their
    // next logon). The logon step takes it away at their next logon.
    std::vector<std::string> leftForLogon;
};

// Every user's part, in every user's registry that can be reached (users/UserHives.h). Logged,
// each user named; what fails is logged and left for the user's next logon.
EveryUserRemoval removeEveryUsersPart(bool purge, SetupLog& log);
