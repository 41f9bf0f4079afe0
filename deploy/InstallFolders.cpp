// The installation's folders and their security; see InstallFolders.h.
#include "deploy/InstallFolders.h"

#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <sddl.h>

#include "deploy/DeployRules.h"
#include "framework/Files.h"
#include "framework/KeyPath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"
#include "framework/Token.h"

namespace {

std::wstring wide(const std::string& path) { return widenFromSystemCodePage(path); }
std::string narrowed(const std::wstring& path) {
    std::string text;
    narrowToSystemCodePage(path, text);
    return text;
}

// The account the run runs as. A run asks about folders only once it has got past the rights
// check: the account may write AutoCAD's keys below HKEY_LOCAL_MACHINE, so it is an
// administrator's (elevated, or SYSTEM), and its own folders are the administrators'.
std::string administratorAccount() { return token::userSid(); }

// The plug-in folder's security descriptor, owned for as long as it is used, and the owner its
// folders get: the Administrators, when the process may give them a folder (elevated).
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
        DWORD size = sizeof administrators_;
        hasOwner_ = token::isElevated() &&
                    CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators_, &size);
    }
    ~PluginSecurity() { LocalFree(descriptor_); }
    PluginSecurity(const PluginSecurity&) = delete;
    PluginSecurity& operator=(const PluginSecurity&) = delete;

    bool valid() const { return dacl_ != nullptr; }
    PACL dacl() const { return dacl_; }
    PSID owner() { return hasOwner_ ? administrators_ : nullptr; }
    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

   private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    PACL dacl_ = nullptr;
    SECURITY_ATTRIBUTES attributes_;
    BYTE administrators_[SECURITY_MAX_SID_SIZE];
    bool hasOwner_ = false;
};

// A folder given the plug-in folder's list exactly through its handle (nothing it holds is
// touched), and its owner; with its contents, what it holds then reset to inherit from it.
unsigned long secure(const std::string& folder, PluginSecurity& security, bool withContents) {
    if (!security.valid()) return ERROR_INVALID_SECURITY_DESCR;
    PinnedFolder pinned;
    if (unsigned long error =
            pinned.open(wide(folder), READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES |
                                          FILE_LIST_DIRECTORY | SYNCHRONIZE))
        return error;
    if (pinned.isReparsePoint()) return kLinkRefused;
    if (unsigned long error = setExactSecurity(pinned.get(), security.dacl(), security.owner())) return error;
    return withContents ? resetContentsToInherit(pinned, security.owner()).error : ERROR_SUCCESS;
}

// Creates a folder with the plug-in folder's security in the same call, so that there is no
// moment in which another user could take it; secured once more through its handle, as Wine adds
// the parent's entries to the list given at creation. 0, or the error of the creation
// (ERROR_ALREADY_EXISTS) or, with protectionError, of the protection.
unsigned long createProtected(const std::string& folder, PluginSecurity& security,
                              unsigned long& protectionError) {
    protectionError = ERROR_SUCCESS;
    if (!security.valid()) return protectionError = ERROR_INVALID_SECURITY_DESCR;
    if (!CreateDirectoryA(folder.c_str(), security.attributes())) return GetLastError();
    protectionError = secure(folder, security, false);
    return ERROR_SUCCESS;
}

// A folder's own list of rights as SDDL text, to be put back; empty when it cannot be read.
std::string securityText(const std::string& folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return std::string();
    char* text = nullptr;
    std::string sddl;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                             DACL_SECURITY_INFORMATION, &text, nullptr)) {
        sddl = text;
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sddl;
}

unsigned long restoreSecurity(const std::string& folder, const std::string& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return GetLastError();
    unsigned long error = SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor)
                              ? ERROR_SUCCESS
                              : GetLastError();
    LocalFree(descriptor);
    return error;
}

std::wstring environmentFolder(const wchar_t* name) {
    wchar_t value[MAX_PATH + 1] = {};
    DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? std::wstring(value, length) : std::wstring();
}

std::wstring expanded(const std::wstring& text) {
    wchar_t value[MAX_PATH + 1] = {};
    DWORD length = ExpandEnvironmentStringsW(text.c_str(), value, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH + 1 ? std::wstring(value) : std::wstring();
}

// The folders of the system and of every user, as Windows names them: the Windows folder, the
// program folders, ProgramData, the users' root and each profile of the machine's profile list.
foldersafety::KnownFolders knownFolders() {
    foldersafety::KnownFolders known;
    wchar_t windows[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryW(windows, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) known.windows.assign(windows, length);
    for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432", L"ProgramData"})
        known.system.push_back(environmentFolder(name));
    RegistryKey list;
    const KeyPath profiles{HKEY_LOCAL_MACHINE,
                           "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"};
    if (profiles.open(list, KEY_READ | KEY_WOW64_64KEY) != ERROR_SUCCESS) return known;
    std::wstring root;
    if (list.readWide(L"ProfilesDirectory", root)) known.system.push_back(expanded(root));
    std::string sid;
    for (DWORD index = 0; list.subKeyNameAt(index, sid); ++index) {
        RegistryKey profile;
        std::wstring folder;
        if (profile.open(list.get(), sid, KEY_READ | KEY_WOW64_64KEY) == ERROR_SUCCESS &&
            profile.readWide(L"ProfileImagePath", folder))
            known.profiles.push_back(expanded(folder));
    }
    return known;
}

bool sameName(const std::wstring& one, const std::wstring& other) {
    return CompareStringOrdinal(one.c_str(), static_cast<int>(one.size()), other.c_str(),
                                static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

unsigned long createProtectedFolder(const std::string& folder) {
    PluginSecurity security;
    unsigned long protection = ERROR_SUCCESS;
    unsigned long error = createProtected(folder, security, protection);
    if (error == ERROR_SUCCESS && protection != ERROR_SUCCESS) RemoveDirectoryA(folder.c_str());
    return error != ERROR_SUCCESS ? error : protection;
}

void checkWayToPluginFolder(const std::string& chosen, const std::string& target, WayToPluginFolder& way) {
    auto refuse = [&](Refusal::Reason reason, const std::wstring& subject, unsigned long error) {
        way.refused = true;
        way.refusal = {reason, narrowed(subject), error};
    };
    FileStep step = pinFolderChain(wide(target), way.pinned);
    if (step.error == kLinkRefused) return refuse(Refusal::Reason::ReparsePoint, step.subject, step.error);
    if (step.error == ERROR_DIRECTORY || step.error == ERROR_BAD_PATHNAME)
        return refuse(Refusal::Reason::FolderInvalid, step.subject, step.error);
    const std::string account = administratorAccount();
    const std::wstring chosenLevel = wide(chosen);
    for (const PinnedFolder& level : way.pinned.levels) {
        if (sameName(level.path(), wide(target))) break;  // the plug-in's folder is secured by the run
        bool others = false;
        if (othersMayChange(level.get(), foldersafety::FolderRole::Ancestor, others, account) !=
            ERROR_SUCCESS)
            others = true;  // what cannot be read cannot be trusted
        if (!others) continue;
        if (!sameName(level.path(), chosenLevel))
            return refuse(Refusal::Reason::UnsafeAncestor, level.path(), 0);
        way.chosenOthersMayChange = true;
    }
}

foldersafety::ProtectVerdict protectableChosenFolder(const std::string& chosen) {
    std::vector<foldersafety::Entry> contents;
    FileStep listed = listEntries(wide(chosen), contents);
    if (!listed.ok())
        contents.push_back({L"?", foldersafety::EntryKind::File});  // unknown contents: not empty
    return foldersafety::mayProtectChosenFolder(wide(chosen), contents, wide(kPluginFolderName),
                                                knownFolders(), sameName);
}

bool othersMayChange(const std::string& folder) {
    PinnedFolder pinned;
    if (pinned.open(wide(folder)) != ERROR_SUCCESS) return false;
    bool others = true;
    othersMayChange(pinned.get(), foldersafety::FolderRole::PluginFolder, others, administratorAccount());
    return others;
}

Failure ProtectedFolderItem::apply() {
    PluginSecurity security;
    unsigned long protection = ERROR_SUCCESS;
    if (unsigned long error = createProtected(path_, security, protection))
        return {error == ERROR_INVALID_SECURITY_DESCR ? Failure::Action::ProtectFolder
                                                      : Failure::Action::MakeFolder,
                path_, error};
    if (protection == ERROR_SUCCESS) return {};
    RemoveDirectoryA(path_.c_str());
    return {Failure::Action::ProtectFolder, path_, protection};
}

FolderSecurityItem::FolderSecurityItem(std::string folder, bool withContents)
    : folder_(std::move(folder)), withContents_(withContents) {}

FolderSecurityItem::FolderSecurityItem(const ItemRecord& recorded)
    : folder_(recorded.path), before_(recorded.detail) {}

Failure FolderSecurityItem::apply() {
    before_ = securityText(folder_);
    PluginSecurity security;
    if (unsigned long error = secure(folder_, security, withContents_)) {
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

ItemRecord FolderSecurityItem::record() const {
    return {kinds::kFolderSecurity, folder_, before_, "", false, {}};
}
