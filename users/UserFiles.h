// A user's own files (their settings file and its folder) as a run acts on them from the user's
// record: only inside that user's profile, reached without passing through a link, and owned by
// that user. An administrator's or SYSTEM's run deletes nothing else on a user's word.
#pragma once

#include <string>

// 0 when the path lies inside the profile folder, no folder from the profile down to it (nor the
// path itself) is a link to another place, and the user owns it (or an administrator's run made it
// for them: the account running now, SYSTEM or the Administrators, as nobody else can give a file
// such an owner); else why not
// (ERROR_BAD_PATHNAME: outside the profile; ERROR_REPARSE_POINT_ENCOUNTERED: a link on the way;
// ERROR_INVALID_OWNER: someone else's).
unsigned long confirmUsersOwn(const std::string& path, const std::string& profileFolder,
                              const std::string& userSid);

// The current user's profile folder, as the machine's profile list names it (else USERPROFILE).
std::string currentProfileFolder();
