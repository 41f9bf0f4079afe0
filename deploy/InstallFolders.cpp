// The installation's folders and their security; see InstallFolders.h.
#include "deploy/InstallFolders.h"

#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "deploy/DeployRules.h"
#include "framework/Handles.h"
#include "framework/Token.h"
#include "framework/Files.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

std::string sidText(PSID sid) {
    char* text = nullptr;
    if (!sid || !ConvertSidToStringSidA(sid, &text)) return std::string();
    std::string result = text;
    LocalFree(text);
    return result;
}

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }
bool isFolder(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The plug-in folder's security descriptor, owned for as long as it is used.
class PluginSecurity {
   public:
    PluginSecurity() {
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(pluginFolderSddl(token::userSid()).c_str(),
                                                                  SDDL_REVISION_1, &descriptor_, nullptr))
            descriptor_ = nullptr;
        BOOL present = FALSE, defaulted = FALSE;
        if (descriptor_ && !(GetSecurityDescriptorDacl(descriptor_, &present, &dacl_, &defaulted) && present))
            dacl_ = nullptr;
        attributes_ = {sizeof attributes_, descriptor_, FALSE};
    }
    ~PluginSecurity() { LocalFree(descriptor_); }
    PluginSecurity(const PluginSecurity&) = delete;
    PluginSecurity& operator=(const PluginSecurity&) = delete;

    bool valid() const { return dacl_ != nullptr; }
    PSECURITY_DESCRIPTOR descriptor() const { return descriptor_; }
    PACL dacl() const { return dacl_; }
    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

   private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    PACL dacl_ = nullptr;
    SECURITY_ATTRIBUTES attributes_;
};

// ERROR_REPARSE_POINT_ENCOUNTERED, which MinGW's headers lack.
const unsigned long kReparsePointEncountered = 4395;

const SECURITY_INFORMATION kProtectedDacl = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;

// The Administrators as the owner, when the process may give them the folder (elevated).
unsigned long ownByAdministrators(const std::string& path) {
    if (!token::isElevated()) return ERROR_SUCCESS;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) return GetLastError();
    std::string name = path;
    return SetNamedSecurityInfoA(&name[0], SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, sid, nullptr, nullptr,
                                 nullptr);
}

// What the folder holds, reset to inherit the folder's entries alone: the explicit entries an
// earlier installation or another program gave them go. Wine does not pass a folder's entries
// on to what is in it: an entry left without any is given the folder's own list instead.
unsigned long resetContents(const std::string& folder, PluginSecurity& security) {
    ACL empty;
    if (!InitializeAcl(&empty, sizeof empty, ACL_REVISION)) return GetLastError();
    WIN32_FIND_DATAA found;
    std::vector<std::string> names;
    {
        FindHandle listing(FindFirstFileA(path::join(folder, "*").c_str(), &found));
        if (!listing.valid()) return ERROR_SUCCESS;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(listing.get(), &found));
    }
    for (const std::string& name : names) {
        std::string item = path::join(folder, name);
        unsigned long error = SetNamedSecurityInfoA(&item[0], SE_FILE_OBJECT,
                                                    DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                                                    nullptr, nullptr, &empty, nullptr);
        PACL inherited = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (error == ERROR_SUCCESS && GetNamedSecurityInfoA(item.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                                            nullptr, nullptr, &inherited, nullptr,
                                                            &descriptor) == ERROR_SUCCESS) {
            if (inherited && inherited->AceCount == 0)
                error = SetNamedSecurityInfoA(&item[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                              security.dacl(), nullptr);
            LocalFree(descriptor);
        }
        if (error == ERROR_SUCCESS) error = ownByAdministrators(item);
        if (error == ERROR_SUCCESS && isFolder(item) && !isReparsePoint(item)) error = resetContents(item, security);
        if (error != ERROR_SUCCESS) return error;
    }
    return ERROR_SUCCESS;
}

// The plug-in folder's security on an existing folder.
unsigned long secure(const std::string& folder, PluginSecurity& security) {
    // SetNamedSecurityInfo, unlike SetFileSecurity, also passes the new entries on to what the
    // folder already holds, in place of what those inherited before. Wine's merges the
    // parent's entries into the folder's own list despite the protection, so the folder's
    // list is then set once more as it is meant, by SetFileSecurity.
    std::string path = folder;
    unsigned long error =
        SetNamedSecurityInfoA(&path[0], SE_FILE_OBJECT, kProtectedDacl, nullptr, nullptr, security.dacl(), nullptr);
    if (error == ERROR_SUCCESS && !SetFileSecurityA(folder.c_str(), kProtectedDacl, security.descriptor()))
        error = GetLastError();
    if (error == ERROR_SUCCESS) error = ownByAdministrators(folder);
    return error;
}

// Creates a folder with the plug-in folder's security in the same call, so that there is no
// moment in which another user could take it; true when made. It is secured once more, as an
// existing one is: Wine adds the parent's entries to the list given at creation.
bool createProtected(const std::string& folder, PluginSecurity& security, unsigned long& error) {
    if (!CreateDirectoryA(folder.c_str(), security.attributes())) return false;
    error = secure(folder, security);
    return true;
}


// A folder's own list of rights as SDDL text, to be put back; empty when it cannot be read.
std::string securityText(const std::string& folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return std::string();
    char* text = nullptr;
    std::string sddl;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                             &text, nullptr)) {
        sddl = text;
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sddl;
}

unsigned long restoreSecurity(const std::string& folder, const std::string& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return GetLastError();
    unsigned long error = SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor) ? ERROR_SUCCESS
                                                                                                : GetLastError();
    LocalFree(descriptor);
    return error;
}

}  // namespace

unsigned long createProtectedFolder(const std::string& folder) {
    PluginSecurity security;
    unsigned long error = security.valid() ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_SUCCESS && !createProtected(folder, security, error)) error = GetLastError();
    return error;
}

bool othersMayChange(const std::string& folder) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!isFolder(folder) ||
        GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    std::vector<AccessEntry> entries;
    for (WORD index = 0; dacl && index < dacl->AceCount; ++index) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, index, reinterpret_cast<void**>(&header)) || header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        entries.push_back({sidText(&allowed->SidStart), allowed->Mask, (header->AceFlags & INHERIT_ONLY_ACE) != 0});
    }
    // A folder without a list of entries (a null DACL) lets everyone do everything.
    bool others = !dacl || grantsOthersControl(sidText(owner), entries, token::userSid());
    LocalFree(descriptor);
    return others;
}

bool isReparsePoint(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

Failure ProtectedFolderItem::apply() {
    PluginSecurity security;
    if (!security.valid()) return {Failure::Action::ProtectFolder, path_, GetLastError()};
    unsigned long error = ERROR_SUCCESS;
    if (!createProtected(path_, security, error)) return {Failure::Action::MakeFolder, path_, GetLastError()};
    if (error == ERROR_SUCCESS) return {};
    RemoveDirectoryA(path_.c_str());
    return {Failure::Action::ProtectFolder, path_, error};
}

FolderSecurityItem::FolderSecurityItem(std::string folder, bool withContents)
    : folder_(std::move(folder)), withContents_(withContents) {}

FolderSecurityItem::FolderSecurityItem(const ItemRecord& recorded)
    : folder_(recorded.path), before_(recorded.detail) {}

Failure FolderSecurityItem::apply() {
    before_ = securityText(folder_);
    PluginSecurity security;
    unsigned long error = security.valid() ? secure(folder_, security) : GetLastError();
    if (error == ERROR_SUCCESS && withContents_) error = resetContents(folder_, security);
    if (error != ERROR_SUCCESS) {
        undo();
        return {Failure::Action::ProtectFolder, folder_, error};
    }
    return {};
}

UndoResult FolderSecurityItem::undo() {
    if (before_.empty() || probePath(folder_) != PathIsFolder) return UndoResult::undone();
    if (unsigned long error = restoreSecurity(folder_, before_))
        return UndoResult::failed({Failure::Action::Restore, folder_, error});
    return UndoResult::undone();
}

ItemRecord FolderSecurityItem::record() const { return {kinds::kFolderSecurity, folder_, before_, "", false, {}}; }
