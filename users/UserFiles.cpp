// A user's own files; see UserFiles.h.
#include "users/UserFiles.h"

#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <sddl.h>

#include "framework/KeyPath.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"
#include "framework/Token.h"
#include "users/UserRecordRules.h"

namespace {

// ERROR_REPARSE_POINT_ENCOUNTERED, which MinGW's headers lack.
const unsigned long kReparsePointEncountered = 4395;

bool isLink(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::string ownerOf(const std::string& path) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return std::string();
    char* text = nullptr;
    std::string sid;
    if (owner && ConvertSidToStringSidA(owner, &text)) {
        sid = text;
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sid;
}

}  // namespace

unsigned long confirmUsersOwn(const std::string& path, const std::string& profileFolder, const std::string& userSid) {
    if (!userrecord::liesInside(path, profileFolder, isSystemLeadByte)) return ERROR_BAD_PATHNAME;
    std::string level = path::withoutTrailingSeparator(profileFolder, isSystemLeadByte);
    if (isLink(level)) return kReparsePointEncountered;
    for (const std::string& name : path::names(path.substr(level.size() + 1), isSystemLeadByte)) {
        level = path::join(level, name);
        if (isLink(level)) return kReparsePointEncountered;
    }
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
    // The user's own, or made for them by an administrator's run (this one's account, SYSTEM, the
    // Administrators): nobody else can give a file such an owner.
    const std::string owner = ownerOf(path);
    for (const std::string& trusted : {userSid, token::userSid(), std::string("S-1-5-18"), std::string("S-1-5-32-544")})
        if (!owner.empty() && owner == trusted) return ERROR_SUCCESS;
    return ERROR_INVALID_OWNER;
}

std::string currentProfileFolder() {
    const KeyPath list{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + token::userSid()};
    RegistryKey profile;
    std::string folder;
    std::wstring named;
    if (list.open(profile, KEY_READ | KEY_WOW64_64KEY) == ERROR_SUCCESS && profile.readWide(L"ProfileImagePath", named)) {
        wchar_t expanded[MAX_PATH + 1] = {};
        DWORD length = ExpandEnvironmentStringsW(named.c_str(), expanded, MAX_PATH + 1);
        if (length > 0 && length <= MAX_PATH + 1 && narrowToSystemCodePage(expanded, folder)) return folder;
    }
    char variable[MAX_PATH + 1] = {};
    DWORD length = GetEnvironmentVariableA("USERPROFILE", variable, sizeof variable);
    return length > 0 && length <= MAX_PATH ? std::string(variable, length) : std::string();
}
