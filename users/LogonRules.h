// What the logon step of an installation for every user decides without Windows: the version
// under which Windows' Active Setup runs it, and the command line Windows runs. Pure code (no
// Windows headers).
#pragma once

#include <string>

namespace logon {

// Active Setup runs a component's command for a user whose recorded version is missing or
// lower than the component's; a version is four numbers ("2026,101,3,17"), compared in order.
struct ComponentVersion {
    unsigned long fields[4] = {0, 0, 0, 0};
};
// Reads "a,b,c,d" (fewer fields count as zeros); false when the text is not such a version
// or a field does not fit 16 bits.
bool parseVersion(const std::string& text, ComponentVersion& version);
std::string versionText(const ComponentVersion& version);
bool isLower(const ComponentVersion& one, const ComponentVersion& other);

// The version of a new registration: the time of the registration, as its year (UTC) and the
// milliseconds since that year began in the other three fields (16 bits each), so that every
// installation is higher than any version a user recorded before, also after an uninstallation
// took the component away; and at least one higher than the registered one (a clock set back).
std::string nextVersion(unsigned year, unsigned long long millisecondsIntoYear,
                        const std::string& registered);

// The command line that runs the logon program: its full path in quotes and nothing else. A file
// name cannot hold a quote and the path ends with the program's name, never with a backslash,
// so no rule of command-line parsing can split it, whatever folder (a drive root, spaces, any
// script) holds it.
std::wstring logonCommandLine(const std::wstring& programPath);

// Whether a key name below HKEY_USERS, or below the machine's profile list, is a person's
// registry: the security identifier of a user of the machine, of a domain or of Azure AD, not the
// classes that go with one ("..._Classes"), not the default profile, and not a service's (SYSTEM,
// LocalService, NetworkService, NT SERVICE\..., application pools), which runs no AutoCAD.
bool isPersonsRegistry(const std::string& name);

}  // namespace logon
