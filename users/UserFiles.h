// A user's own files (their settings file and its folder) as a run acts on them from the user's
// record: only inside that user's profile, reached without passing through a link, and owned by
// that user. An administrator's or SYSTEM's run deletes nothing else on a user's word.
#pragma once

#include <string>

#include "journal/WorkItem.h"

// Whose part: the user HKEY_CURRENT_USER stands for.
struct UserIdentity {
    std::string sid;
    std::string profileFolder;
    std::string registryName = "HKEY_CURRENT_USER";  // as the log names their registry
};
UserIdentity currentUserIdentity();

// 0 when the path lies inside the profile folder, no folder from the profile down to it (nor the
// path itself) is a link to another place, and the user owns it (or an administrator's run made it
// for them: the account running now, SYSTEM or the Administrators, as nobody else can give a file
// such an owner); else why not
// (ERROR_BAD_PATHNAME: outside the profile; ERROR_REPARSE_POINT_ENCOUNTERED: a link on the way;
// ERROR_INVALID_OWNER: someone else's).
unsigned long confirmUsersOwn(const std::string& path, const std::string& profileFolder,
                              const std::string& userSid);

// A user's settings file or its folder, from their record, as a run takes it away: found as
// confirmUsersOwn finds it, and deleted through the very handle that was judged (opened without
// following a link, under folders held open), so that nothing can be put in its place between the
// judging and the deleting. A file that changed since it was recorded (its digest differs) stays;
// so does a folder that still holds something. Never applied: it only takes away.
class UsersOwnItem : public WorkItem {
   public:
    UsersOwnItem(const ItemRecord& recorded, const UserIdentity& user);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override { return recorded_; }
    std::string subject() const override { return recorded_.path; }

   private:
    UndoResult removeFile(const std::wstring& path);
    UndoResult removeFolder(const std::wstring& path);
    Failure failure(unsigned long error) const;

    ItemRecord recorded_;
    UserIdentity user_;
};

// The current user's profile folder, as the machine's profile list names it (else USERPROFILE).
std::string currentProfileFolder();
