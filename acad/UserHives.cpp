// Every user's registry; see UserHives.h.
#include "acad/UserHives.h"

#include <windows.h>

#include <algorithm>

#include "acad/LogonRules.h"
#include "framework/Handles.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"

namespace {

// The machine's profile list is the operating system's, in the 64-bit registry on 64-bit
// Windows: named there whatever the width of this program.
const char* const kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const REGSAM kSystemView = KEY_WOW64_64KEY;

// HKEY_CURRENT_USER stands for another registry while the object lives.
class CurrentUserStandsFor {
   public:
    explicit CurrentUserStandsFor(HKEY root) { RegOverridePredefKey(HKEY_CURRENT_USER, root); }
    ~CurrentUserStandsFor() { RegOverridePredefKey(HKEY_CURRENT_USER, nullptr); }
    CurrentUserStandsFor(const CurrentUserStandsFor&) = delete;
    CurrentUserStandsFor& operator=(const CurrentUserStandsFor&) = delete;
};

// RegLoadKey and RegUnLoadKey need both privileges enabled in the process's token (an
// administrator holds them, disabled). 0 or the Windows error.
unsigned long enableHiveLoading() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return GetLastError();
    KernelHandle owned(token);
    for (const wchar_t* privilege : {L"SeBackupPrivilege", L"SeRestorePrivilege"}) {
        TOKEN_PRIVILEGES enabled = {};
        enabled.PrivilegeCount = 1;
        enabled.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!LookupPrivilegeValueW(nullptr, privilege, &enabled.Privileges[0].Luid) ||
            !AdjustTokenPrivileges(token, FALSE, &enabled, sizeof enabled, nullptr, nullptr))
            return GetLastError();
        // Success with ERROR_NOT_ALL_ASSIGNED: the account does not hold the privilege.
        if (GetLastError() != ERROR_SUCCESS) return GetLastError();
    }
    return ERROR_SUCCESS;
}

void visitLoaded(HKEY root, const UserRegistry& user, UserVisitor& visitor) {
    CurrentUserStandsFor standsFor(root);
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

// The registry file of a profile in the list: <ProfileImagePath>\NTUSER.DAT, the path's
// variables expanded; empty when the profile has none (never used, or its folder is gone).
std::wstring profileRegistryFile(const RegistryKey& profile) {
    std::wstring folder;
    if (!profile.readWide(L"ProfileImagePath", folder) || folder.empty()) return std::wstring();
    wchar_t expanded[MAX_PATH + 1] = {};
    DWORD length = ExpandEnvironmentStringsW(folder.c_str(), expanded, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH + 1) return std::wstring();
    std::wstring file = std::wstring(expanded) + L"\\NTUSER.DAT";
    return GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES ? std::wstring() : file;
}

// Loads a profile's registry below HKEY_USERS under a name of ours (not the SID, which Windows
// uses when the user logs on), visits it, and unloads it.
void visitFile(const std::wstring& file, UserRegistry& user, UserVisitor& visitor) {
    narrowToSystemCodePage(file, user.file);
    if ((user.error = enableHiveLoading()) != 0) return;
    const std::wstring mounted = L"TorlenBatchPrint-" + widenFromSystemCodePage(user.sid);
    LONG status = RegLoadKeyW(HKEY_USERS, mounted.c_str(), file.c_str());
    if (status != ERROR_SUCCESS) {
        user.error = static_cast<unsigned long>(status);
        return;
    }
    HKEY root = nullptr;
    status = RegOpenKeyExW(HKEY_USERS, mounted.c_str(), 0, KEY_ALL_ACCESS, &root);
    if (status == ERROR_SUCCESS) {
        visitLoaded(root, user, visitor);
        RegCloseKey(root);
    } else {
        user.error = static_cast<unsigned long>(status);
    }
    RegUnLoadKeyW(HKEY_USERS, mounted.c_str());
}

}  // namespace

std::vector<UserRegistry> visitEveryUser(UserVisitor& visitor) {
    std::vector<UserRegistry> users;
    const std::vector<std::string> loaded = loadedRegistries();
    RegistryKey list;
    list.open(HKEY_LOCAL_MACHINE, kProfileList, KEY_READ | kSystemView);
    for (const std::string& sid : loaded) {
        UserRegistry user;
        user.sid = sid;
        user.name = "HKEY_USERS\\" + sid;
        RegistryKey profile, root;
        std::wstring central;
        user.roaming = list && profile.open(list.get(), sid, KEY_READ | kSystemView) == ERROR_SUCCESS &&
                       profile.readWide(L"CentralProfile", central) && !central.empty();
        if ((user.error = static_cast<unsigned long>(root.open(HKEY_USERS, sid, KEY_ALL_ACCESS))) == 0)
            visitLoaded(root.get(), user, visitor);
        users.push_back(user);
    }
    std::string sid;
    for (DWORD index = 0; list && list.subKeyNameAt(index, sid); ++index) {
        if (!logon::isPersonsRegistry(sid) || std::find(loaded.begin(), loaded.end(), sid) != loaded.end())
            continue;
        RegistryKey profile;
        if (profile.open(list.get(), sid, KEY_READ | kSystemView) != ERROR_SUCCESS) continue;
        const std::wstring file = profileRegistryFile(profile);
        if (file.empty()) continue;
        UserRegistry user;
        user.sid = sid;
        user.name = "HKEY_USERS\\" + sid;
        std::wstring central;
        user.roaming = profile.readWide(L"CentralProfile", central) && !central.empty();
        visitFile(file, user, visitor);
        users.push_back(user);
    }
    return users;
}
