// Every user's registry; see UserHives.h.
#include "users/UserHives.h"

#include <windows.h>

#include <algorithm>

#include "framework/Handles.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"
#include "framework/Token.h"
#include "users/LogonRules.h"

namespace {

// The machine's profile list is the operating system's, in the 64-bit registry on 64-bit
// Windows: named there whatever the width of this program.
const char* const kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const REGSAM kSystemView = KEY_WOW64_64KEY;

// HKEY_CURRENT_USER stands for another registry while the object lives (and error() is 0).
class CurrentUserStandsFor {
   public:
    explicit CurrentUserStandsFor(HKEY root)
        : error_(static_cast<unsigned long>(RegOverridePredefKey(HKEY_CURRENT_USER, root))) {}
    ~CurrentUserStandsFor() { RegOverridePredefKey(HKEY_CURRENT_USER, nullptr); }
    CurrentUserStandsFor(const CurrentUserStandsFor&) = delete;
    CurrentUserStandsFor& operator=(const CurrentUserStandsFor&) = delete;
    unsigned long error() const { return error_; }

   private:
    unsigned long error_;
};

// Visits a registry; unless HKEY_CURRENT_USER could be made to stand for it (then user.error
// says why): the current user's own would be changed in its place.
void visitLoaded(HKEY root, UserRegistry& user, UserVisitor& visitor) {
    CurrentUserStandsFor standsFor(root);
    if ((user.error = standsFor.error()) != 0) return;
    user.visited = true;
    visitor.visit(user);
}

std::vector<std::string> loadedRegistries() {
    std::vector<std::string> sids;
    RegistryKey users;
    if (users.open(HKEY_USERS, "", KEY_READ) != ERROR_SUCCESS) return sids;
    listSubKeyNames(users, sids);
    sids.erase(std::remove_if(sids.begin(), sids.end(),
                              [](const std::string& sid) { return !logon::isPersonsRegistry(sid); }),
               sids.end());
    return sids;
}

// A profile's folder as the list names it, its variables expanded; empty when it names none.
std::wstring profileFolderOf(const RegistryKey& profile) {
    std::wstring folder;
    if (!profile || !profile.readWide(L"ProfileImagePath", folder) || folder.empty()) return std::wstring();
    wchar_t expanded[MAX_PATH + 1] = {};
    DWORD length = ExpandEnvironmentStringsW(folder.c_str(), expanded, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH + 1) return std::wstring();
    return expanded;
}

// Whether the profile is kept on a server too (a roaming profile).
bool roams(const RegistryKey& profile) {
    std::wstring central;
    return profile && profile.readWide(L"CentralProfile", central) && !central.empty();
}

UserRegistry userOf(const std::string& sid, const RegistryKey& profile) {
    UserRegistry user;
    user.sid = sid;
    user.name = "HKEY_USERS\\" + sid;
    user.roaming = roams(profile);
    narrowToSystemCodePage(profileFolderOf(profile), user.profileFolder);
    return user;
}

// Loads a profile's registry below HKEY_USERS under a name of ours (not the SID, which Windows
// uses when the user logs on), visits it, and unloads it. Loading needs the backup and restore
// privileges, which also let a process open any file whatever its security: they are on only
// while the registry is loaded and unloaded.
void visitFile(const std::wstring& file, UserRegistry& user, UserVisitor& visitor) {
    narrowToSystemCodePage(file, user.file);
    const std::string mounted = "TorlenBatchPrint-" + user.sid;
    {
        token::EnabledPrivileges privileges({L"SeBackupPrivilege", L"SeRestorePrivilege"});
        if ((user.error = privileges.error()) != 0) return;
        LONG status = RegLoadKeyW(HKEY_USERS, widenFromSystemCodePage(mounted).c_str(), file.c_str());
        if (status != ERROR_SUCCESS) {
            user.error = static_cast<unsigned long>(status);
            return;
        }
    }
    {
        RegistryKey root;
        user.error = static_cast<unsigned long>(root.open(HKEY_USERS, mounted, KEY_ALL_ACCESS));
        if (user.error == 0) visitLoaded(root.get(), user, visitor);
    }
    token::EnabledPrivileges privileges({L"SeBackupPrivilege", L"SeRestorePrivilege"});
    // A registry that stays loaded keeps the user's file open: their next logon would get a
    // temporary profile. Said, so that it is not passed over.
    LONG unloaded = RegUnLoadKeyA(HKEY_USERS, mounted.c_str());
    if (unloaded != ERROR_SUCCESS && user.error == 0) user.error = static_cast<unsigned long>(unloaded);
}

// The registries Windows has loaded (users logged on, and any a service holds).
void visitLoadedUsers(const std::vector<std::string>& loaded, const RegistryKey& list, UserVisitor& visitor,
                      std::vector<UserRegistry>& users) {
    for (const std::string& sid : loaded) {
        RegistryKey profile, root;
        if (list) profile.open(list.get(), sid, KEY_READ | kSystemView);
        UserRegistry user = userOf(sid, profile);
        user.error = static_cast<unsigned long>(root.open(HKEY_USERS, sid, KEY_ALL_ACCESS));
        if (user.error == 0) visitLoaded(root.get(), user, visitor);
        users.push_back(user);
    }
}

// Every other person in the profile list. A profile without a registry file (never used, or its
// folder gone) is named too (ERROR_FILE_NOT_FOUND), rather than passed over without a word.
void visitListedUsers(const std::vector<std::string>& loaded, const RegistryKey& list, UserVisitor& visitor,
                      std::vector<UserRegistry>& users) {
    std::string sid;
    for (DWORD index = 0; list && list.subKeyNameAt(index, sid); ++index) {
        RegistryKey profile;
        if (!logon::isPersonsRegistry(sid) || std::find(loaded.begin(), loaded.end(), sid) != loaded.end() ||
            profile.open(list.get(), sid, KEY_READ | kSystemView) != ERROR_SUCCESS)
            continue;
        UserRegistry user = userOf(sid, profile);
        const std::wstring folder = profileFolderOf(profile);
        const std::wstring file = folder + L"\\NTUSER.DAT";
        if (folder.empty() || GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
            user.error = ERROR_FILE_NOT_FOUND;
        else
            visitFile(file, user, visitor);
        users.push_back(user);
    }
}

}  // namespace

std::vector<UserRegistry> visitEveryUser(UserVisitor& visitor) {
    std::vector<UserRegistry> users;
    const std::vector<std::string> loaded = loadedRegistries();
    RegistryKey list;
    list.open(HKEY_LOCAL_MACHINE, kProfileList, KEY_READ | kSystemView);
    visitLoadedUsers(loaded, list, visitor, users);
    visitListedUsers(loaded, list, visitor, users);
    return users;
}
