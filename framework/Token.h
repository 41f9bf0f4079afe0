// The process token, asked in one place: who runs the installer, whether it runs elevated or as
// SYSTEM, and the privileges it switches on for the time it needs them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace token {

// The security identifier of the user the process runs as, as SDDL text ("S-1-5-21-..."); empty
// when the token cannot be read.
std::string userSid();

// Whether the token is elevated. An administrator's programs run with a filtered token unless
// they were started elevated. Where Windows cannot tell (no such token query), there is nothing
// to ask for: the process counts as elevated.
bool isElevated();

// Whether the process runs as SYSTEM (the account deployment tools and Windows Installer's
// server run as).
bool isLocalSystem();

// Switches privileges the token holds (disabled) on for the object's life, and off again after.
// error() is 0, or why they could not be switched on (ERROR_NOT_ALL_ASSIGNED: the account does not
// hold one of them).
class EnabledPrivileges {
   public:
    explicit EnabledPrivileges(std::initializer_list<const wchar_t*> names);
    ~EnabledPrivileges();
    EnabledPrivileges(const EnabledPrivileges&) = delete;
    EnabledPrivileges& operator=(const EnabledPrivileges&) = delete;
    unsigned long error() const { return error_; }

   private:
    std::vector<const wchar_t*> names_;
    unsigned long error_ = 0;
};

}  // namespace token
