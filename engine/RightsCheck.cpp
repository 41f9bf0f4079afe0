// Rights asked of Windows; see RightsCheck.h.
#include "engine/RightsCheck.h"

#include <windows.h>

#include "framework/Files.h"
#include "framework/Handles.h"
#include "framework/KeyPath.h"

namespace {

// Registration deletes and creates keys below a key and sets their values.
const REGSAM kKeyWrite = KEY_CREATE_SUB_KEY | KEY_SET_VALUE | DELETE;

unsigned long keyWriteError(const std::string& path) {
    RegistryKey key;
    return static_cast<unsigned long>(KeyPath{HKEY_LOCAL_MACHINE, path}.open(key, kKeyWrite));
}

// A key to be made: the first key of its path that exists must let the process make keys below it.
unsigned long parentWriteError(std::string path) {
    for (;;) {
        RegistryKey key;
        LONG status = KeyPath{HKEY_LOCAL_MACHINE, path}.open(key, KEY_CREATE_SUB_KEY);
        if (status != ERROR_FILE_NOT_FOUND) return static_cast<unsigned long>(status);
        std::size_t slash = path.find_last_of('\\');
        if (slash == std::string::npos) return ERROR_SUCCESS;
        path.erase(slash);
    }
}

// The process's token as a thread would impersonate it: AccessCheck takes no primary token.
class ImpersonationToken {
   public:
    ImpersonationToken() {
        HANDLE process = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process)) {
            KernelHandle owned(process);
            if (!DuplicateToken(process, SecurityImpersonation, &token_)) token_ = nullptr;
        }
    }
    ~ImpersonationToken() {
        if (token_) CloseHandle(token_);
    }
    ImpersonationToken(const ImpersonationToken&) = delete;
    ImpersonationToken& operator=(const ImpersonationToken&) = delete;
    HANDLE get() const { return token_; }

   private:
    HANDLE token_ = nullptr;
};

}  // namespace

unsigned long folderWriteError(const std::string& folder) {
    if (probePath(folder) != PathIsFolder) return ERROR_SUCCESS;
    const SECURITY_INFORMATION what =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityA(folder.c_str(), what, nullptr, 0, &size);
    if (size == 0) return GetLastError();
    std::string descriptor(size, '\0');
    if (!GetFileSecurityA(folder.c_str(), what, &descriptor[0], size, &size)) return GetLastError();
    ImpersonationToken token;
    if (!token.get()) return GetLastError();
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    DWORD wanted = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;
    PRIVILEGE_SET privileges;
    DWORD privilegesSize = sizeof privileges, granted = 0;
    BOOL allowed = FALSE;
    if (!AccessCheck(&descriptor[0], token.get(), wanted, &mapping, &privileges, &privilegesSize, &granted,
                     &allowed))
        return GetLastError();
    return allowed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

RightsGap firstUnwritable(const RightsNeeded& needed) {
    for (const std::string& key : needed.keys) {
        if (unsigned long error = keyWriteError(key)) return {"HKEY_LOCAL_MACHINE\\" + key, error};
    }
    for (const std::string& folder : needed.folders) {
        if (folderWriteError(folder) == ERROR_ACCESS_DENIED) return {folder, ERROR_ACCESS_DENIED};
    }
    for (const std::string& parent : needed.parents) {
        if (unsigned long error = parentWriteError(parent))
            return {KeyPath{HKEY_LOCAL_MACHINE, parent}.name(), error};
    }
    return {};
}
