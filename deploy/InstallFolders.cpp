// The installation's folders and their security; see InstallFolders.h.
#include "deploy/InstallFolders.h"

#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <sddl.h>

#include "deploy/DeployRules.h"
#include "framework/Handles.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

// The SID of the user the installer runs as, as SDDL text; empty when it cannot be read.
std::string installingUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::string();
    KernelHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size == 0 || !GetTokenInformation(token, TokenUser, &buffer[0], size, &size)) return std::string();
    char* text = nullptr;
    if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &text))
        return std::string();
    std::string sid = text;
    LocalFree(text);
    return sid;
}

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

unsigned long securePluginFolder(const std::string& folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(pluginFolderSddl(installingUserSid()).c_str(),
                                                              SDDL_REVISION_1, &descriptor, nullptr))
        return GetLastError();
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present) {
        LocalFree(descriptor);
        return ERROR_INVALID_SECURITY_DESCR;
    }
    // SetNamedSecurityInfo, unlike SetFileSecurity, also passes the new entries on to what the
    // folder already holds, in place of what those inherited before. Wine's merges the
    // parent's entries into the folder's own list despite the protection, so the folder's
    // list is then set once more as it is meant, by SetFileSecurity.
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;
    std::string path = folder;
    unsigned long error =
        SetNamedSecurityInfoA(&path[0], SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
    if (error == ERROR_SUCCESS && !SetFileSecurityA(folder.c_str(), what, descriptor)) error = GetLastError();
    LocalFree(descriptor);
    return error;
}

unsigned long createInstallFolders(const std::string& targetFolder, std::string& unprotected) {
    std::string chosen = path::folderOf(targetFolder, isSystemLeadByte);
    unsigned long error = ERROR_SUCCESS;
    // A single level each: a missing parent of the chosen folder makes every copy fail.
    if (!chosen.empty() && !isFolder(chosen) && CreateDirectoryA(chosen.c_str(), nullptr))
        error = securePluginFolder(unprotected = chosen);
    if (error != ERROR_SUCCESS) return error;
    CreateDirectoryA(targetFolder.c_str(), nullptr);
    if (isFolder(targetFolder)) error = securePluginFolder(unprotected = targetFolder);
    return error;
}
