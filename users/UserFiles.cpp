// A user's own files; see UserFiles.h.
#include "users/UserFiles.h"

#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <sddl.h>

#include "framework/Files.h"
#include "framework/KeyPath.h"
#include "framework/LinkSafeFiles.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"
#include "framework/Token.h"
#include "journal/ItemRecord.h"
#include "users/UserRecordRules.h"

namespace {

std::string sidText(PSID sid) {
    char* text = nullptr;
    if (!sid || !ConvertSidToStringSidA(sid, &text)) return std::string();
    std::string result = text;
    LocalFree(text);
    return result;
}

// The owner of an object opened with READ_CONTROL; empty when it cannot be read.
std::string ownerOf(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return std::string();
    std::string sid = sidText(owner);
    LocalFree(descriptor);
    return sid;
}

// The user's own, or made for them by an administrator's run (the account running now, SYSTEM,
// the Administrators): nobody else can give a file such an owner.
bool isTrustedOwner(const std::string& owner, const std::string& userSid) {
    for (const std::string& trusted :
         {userSid, token::userSid(), std::string("S-1-5-18"), std::string("S-1-5-32-544")})
        if (!owner.empty() && owner == trusted) return true;
    return false;
}

}  // namespace

unsigned long confirmUsersOwn(const std::string& path, const std::string& profileFolder,
                              const std::string& userSid) {
    if (!userrecord::liesInside(path, profileFolder, isSystemLeadByte)) return ERROR_BAD_PATHNAME;
    const std::wstring wide = widenFromSystemCodePage(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;  // gone already: nothing is done to it
    // Opened as itself under folders opened as themselves, from the drive root down: a link at any
    // level is refused, and so is a file with other names (a hard link to something elsewhere).
    FolderChain folders;
    UnfollowedFile file;
    FileStep step;
    HANDLE opened = nullptr;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        step = pinFolderChain(wide, folders);
        if (step.ok() && folders.complete) opened = folders.levels.back().get();
    } else {
        step = openUnfollowed(wide, READ_CONTROL, false, file);
        opened = file.file.get();
    }
    if (!step.ok()) return step.error;
    return opened && isTrustedOwner(ownerOf(opened), userSid) ? ERROR_SUCCESS : ERROR_INVALID_OWNER;
}

std::string currentProfileFolder() {
    const KeyPath list{HKEY_LOCAL_MACHINE,
                       "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + token::userSid()};
    RegistryKey profile;
    std::string folder;
    std::wstring named;
    if (list.open(profile, KEY_READ | KEY_WOW64_64KEY) == ERROR_SUCCESS &&
        profile.readWide(L"ProfileImagePath", named)) {
        wchar_t expanded[MAX_PATH + 1] = {};
        DWORD length = ExpandEnvironmentStringsW(named.c_str(), expanded, MAX_PATH + 1);
        if (length > 0 && length <= MAX_PATH + 1 && narrowToSystemCodePage(expanded, folder)) return folder;
    }
    char variable[MAX_PATH + 1] = {};
    DWORD length = GetEnvironmentVariableA("USERPROFILE", variable, sizeof variable);
    return length > 0 && length <= MAX_PATH ? std::string(variable, length) : std::string();
}

UserIdentity currentUserIdentity() { return {token::userSid(), currentProfileFolder(), "HKEY_CURRENT_USER"}; }

UsersOwnItem::UsersOwnItem(const ItemRecord& recorded, const UserIdentity& user)
    : recorded_(recorded), user_(user) {
    store = Store::User;
}

Failure UsersOwnItem::apply() { return failure(ERROR_INVALID_FUNCTION); }

Failure UsersOwnItem::failure(unsigned long error) const {
    return {Failure::Action::Remove, recorded_.path, error};
}

UndoResult UsersOwnItem::undo() {
    if (!userrecord::liesInside(recorded_.path, user_.profileFolder, isSystemLeadByte))
        return UndoResult::failed(failure(ERROR_BAD_PATHNAME));
    const std::wstring path = widenFromSystemCodePage(recorded_.path);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return UndoResult::undone();  // gone already
    return recorded_.kind == kinds::kFolder ? removeFolder(path) : removeFile(path);
}

// Held open for reading by nobody else from the judging to the deleting: the digest read is of
// what is deleted.
UndoResult UsersOwnItem::removeFile(const std::wstring& path) {
    UnfollowedFile file;
    FileStep step = openUnfollowed(path, DELETE | READ_CONTROL | FILE_READ_DATA, false, file);
    if (!step.ok()) return UndoResult::failed(failure(step.error));
    if (!isTrustedOwner(ownerOf(file.file.get()), user_.sid))
        return UndoResult::failed(failure(ERROR_INVALID_OWNER));
    if (!recorded_.detail.empty()) {
        const FileDigest now = digestOf(file.file.get());
        if (now.text.empty()) return UndoResult::failed(failure(now.error));
        if (now.text != recorded_.detail)
            return UndoResult::kept({Failure::Action::KeepChanged, recorded_.path, 0});
    }
    if (unsigned long error = deleteThrough(file.file.get())) return UndoResult::failed(failure(error));
    return UndoResult::undone();
}

// The folders above stay pinned while the folder itself is opened again, for deletion.
UndoResult UsersOwnItem::removeFolder(const std::wstring& path) {
    FolderChain chain;
    FileStep step = pinFolderChain(path, chain);
    if (!step.ok()) return UndoResult::failed(failure(step.error));
    if (!chain.complete) return UndoResult::undone();
    chain.levels.pop_back();
    PinnedFolder folder;
    if (unsigned long error = folder.open(path, kPinAccess | DELETE))
        return UndoResult::failed(failure(error));
    if (folder.isReparsePoint()) return UndoResult::failed(failure(kLinkRefused));
    if (!isTrustedOwner(ownerOf(folder.get()), user_.sid))
        return UndoResult::failed(failure(ERROR_INVALID_OWNER));
    const unsigned long error = deleteThrough(folder.get());
    if (error == ERROR_DIR_NOT_EMPTY) return UndoResult::kept({Failure::Action::Remove, recorded_.path, 0});
    if (error != ERROR_SUCCESS) return UndoResult::failed(failure(error));
    return UndoResult::undone();
}
