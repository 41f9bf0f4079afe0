// The logon step's rules; see LogonRules.h.
#include "users/LogonRules.h"

namespace logon {

namespace {
constexpr unsigned long kFieldLimit = 0xFFFF;
}  // namespace

bool parseVersion(const std::string& text, ComponentVersion& version) {
    ComponentVersion read;
    std::size_t field = 0, digits = 0;
    for (char c : text) {
        if (c == ',') {
            if (digits == 0 || ++field == 4) return false;
            digits = 0;
        } else if (c >= '0' && c <= '9') {
            read.fields[field] = read.fields[field] * 10 + static_cast<unsigned long>(c - '0');
            if (++digits > 5 || read.fields[field] > kFieldLimit) return false;
        } else {
            return false;
        }
    }
    if (digits == 0) return false;
    version = read;
    return true;
}

std::string versionText(const ComponentVersion& version) {
    std::string text;
    for (unsigned long field : version.fields) text += (text.empty() ? "" : ",") + std::to_string(field);
    return text;
}

bool isLower(const ComponentVersion& one, const ComponentVersion& other) {
    for (int i = 0; i < 4; ++i) {
        if (one.fields[i] != other.fields[i]) return one.fields[i] < other.fields[i];
    }
    return false;
}

std::string nextVersion(unsigned year, unsigned long long millisecondsIntoYear,
                        const std::string& registered) {
    ComponentVersion next;
    next.fields[0] = year & kFieldLimit;
    for (int field = 3; field >= 1; --field, millisecondsIntoYear >>= 16)
        next.fields[field] = static_cast<unsigned long>(millisecondsIntoYear & kFieldLimit);
    ComponentVersion before;
    if (parseVersion(registered, before) && !isLower(before, next)) {
        next = before;
        // One more, carried into the fields before while a field is full.
        for (int i = 3; i >= 0; --i) {
            if (next.fields[i] < kFieldLimit) {
                ++next.fields[i];
                break;
            }
            next.fields[i] = 0;
        }
    }
    return versionText(next);
}

bool isPersonsRegistry(const std::string& name) {
    // A person's account is a user's of the machine or of a domain (S-1-5-21-...) or of Azure AD
    // (S-1-12-1-...); services have their own authorities (SYSTEM S-1-5-18, LocalService and
    // NetworkService, NT SERVICE\... S-1-5-80-..., application pools S-1-5-82-..., virtual
    // machines, font and window manager hosts) and run no AutoCAD.
    std::string rest;
    for (const char* person : {"S-1-5-21-", "S-1-12-1-"}) {
        const std::string prefix = person;
        if (name.compare(0, prefix.size(), prefix) == 0) rest = name.substr(prefix.size());
    }
    if (rest.empty()) return false;
    // Digits and dashes only: "..._Classes" is not a person's.
    for (char c : rest) {
        if (!(c >= '0' && c <= '9') && c != '-') return false;
    }
    return true;
}

std::wstring logonCommandLine(const std::wstring& programPath) { return L"\"" + programPath + L"\""; }

}  // namespace logon
