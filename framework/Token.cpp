// The process token; see Token.h.
#include "framework/Token.h"

#include <windows.h>
// after windows.h
#include <sddl.h>

#include "framework/Handles.h"

namespace token {

namespace {

// A piece of the process token (TokenUser, TokenElevation ...), or nothing.
std::string information(TOKEN_INFORMATION_CLASS what) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::string();
    KernelHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, what, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size == 0 || !GetTokenInformation(token, what, &buffer[0], size, &size)) return std::string();
    return buffer;
}

PSID userOf(std::string& buffer) { return reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid; }

// Switches the named privileges on or off; 0 or the Windows error.
unsigned long adjust(const std::vector<const wchar_t*>& names, bool on) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return GetLastError();
    KernelHandle owned(token);
    for (const wchar_t* name : names) {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = on ? SE_PRIVILEGE_ENABLED : 0;
        if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid) ||
            !AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr))
            return GetLastError();
        // Success with ERROR_NOT_ALL_ASSIGNED: the account does not hold the privilege.
        if (GetLastError() != ERROR_SUCCESS) return GetLastError();
    }
    return ERROR_SUCCESS;
}

}  // namespace

std::string userSid() {
    std::string user = information(TokenUser);
    char* text = nullptr;
    if (user.empty() || !ConvertSidToStringSidA(userOf(user), &text)) return std::string();
    std::string sid = text;
    LocalFree(text);
    return sid;
}

bool isElevated() {
    std::string elevation = information(TokenElevation);
    return elevation.empty() || reinterpret_cast<TOKEN_ELEVATION*>(&elevation[0])->TokenIsElevated != 0;
}

bool isLocalSystem() {
    std::string user = information(TokenUser);
    return !user.empty() && IsWellKnownSid(userOf(user), WinLocalSystemSid) != FALSE;
}

// The backup and restore privileges, which loading another user's registry needs, also let every
// file be opened whatever its security: they are switched off again as soon as that is done.
EnabledPrivileges::EnabledPrivileges(std::initializer_list<const wchar_t*> names)
    : names_(names), error_(adjust(names_, true)) {}

EnabledPrivileges::~EnabledPrivileges() { adjust(names_, false); }

}  // namespace token
