// Every user's registry, as an uninstallation run by an administrator or by SYSTEM reaches it:
// the registries Windows has loaded below HKEY_USERS (users logged on, and any a service holds),
// and, for every other person in the machine's profile list, the registry file of the profile
// (<ProfileImagePath>\NTUSER.DAT), loaded for the visit (RegLoadKey, which needs the backup and
// restore privileges enabled, and switched off again at once) and unloaded after it. Only persons'
// registries: services run no AutoCAD.
#pragma once

#include <string>
#include <vector>

struct UserRegistry {
    std::string sid;
    std::string name;           // as Windows names it when the user is logged on: HKEY_USERS\<SID>
    std::string file;           // the registry file loaded for the visit; empty for one Windows loaded
    std::string profileFolder;  // the user's profile folder, as the machine's profile list names it
    bool roaming = false;       // the profile is kept on a server too (CentralProfile)
    // Why it could not be visited (ERROR_FILE_NOT_FOUND: the profile has no registry file), or
    // why it could not be unloaded after the visit (then it was visited).
    unsigned long error = 0;
    bool visited = false;
};

// What is done in each user's registry.
class UserVisitor {
   public:
    virtual void visit(const UserRegistry& user) = 0;

   protected:
    ~UserVisitor() = default;
};

// Visits each user's registry with HKEY_CURRENT_USER standing for it (the predefined key
// redirected with RegOverridePredefKey, so that the engine's per-user code works on it as it
// does for the current user, and put back afterwards). Gives every user found, visited or not
// (error).
std::vector<UserRegistry> visitEveryUser(UserVisitor& visitor);
