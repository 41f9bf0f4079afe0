// The trust boundary of a user's own record; see UserRecordRules.h.
#include "users/UserRecordRules.h"

#include "deploy/ProductNames.h"
#include "framework/NarrowString.h"
#include "framework/Paths.h"

namespace userrecord {

namespace {

const char* const kProfilesRoot = "SOFTWARE\\Autodesk\\AutoCAD\\";
const char* const kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

bool startsWith(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && narrow::equalsIgnoreCase(text.substr(0, start.size()), start);
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && narrow::equalsIgnoreCase(text.substr(text.size() - end.size()), end);
}

// "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles\<profile>\Variables": six names after
// the root's three, nothing empty, nothing that climbs ("..").
bool isProfileVariablesKey(const std::string& key, path::LeadByteTest isLeadByte) {
    if (!startsWith(key, kProfilesRoot) || !endsWith(key, "\\Variables")) return false;
    std::vector<std::string> names = path::names(key, isLeadByte);
    if (names.size() != 8 || !narrow::equalsIgnoreCase(names[5], "Profiles")) return false;
    for (const std::string& name : names)
        if (name.empty() || name == "." || name == "..") return false;
    return true;
}

std::string lastName(const std::string& path, path::LeadByteTest isLeadByte) {
    std::vector<std::string> names = path::names(path, isLeadByte);
    return names.empty() ? std::string() : names.back();
}

bool isSettingsFolder(const std::string& path, path::LeadByteTest isLeadByte) {
    return narrow::equalsIgnoreCase(lastName(path, isLeadByte), kUserFolderName);
}

bool isSettingsFile(const std::string& path, path::LeadByteTest isLeadByte) {
    return narrow::equalsIgnoreCase(lastName(path, isLeadByte), kSettingsFileName) &&
           isSettingsFolder(path::folderOf(path, isLeadByte), isLeadByte);
}

// Where a run moves a file aside: the file's own path and ".torlen-<number>".
bool isBackupOf(const std::string& backup, const std::string& path) {
    const std::string start = path + ".torlen-";
    if (backup.size() <= start.size() || !narrow::equalsIgnoreCase(backup.substr(0, start.size()), start))
        return false;
    return backup.find_first_not_of("0123456789", start.size()) == std::string::npos;
}

}  // namespace

Verdict judge(const ItemRecord& item, const std::string& runValueName, path::LeadByteTest isLeadByte) {
    if (item.kind == kinds::kTrusted && isProfileVariablesKey(item.path, isLeadByte))
        return Verdict::InUsersRegistry;
    if ((item.kind == kinds::kValue || item.kind == kinds::kValueBackup) &&
        narrow::equalsIgnoreCase(item.path, kRunKey) && narrow::equalsIgnoreCase(item.detail, runValueName))
        return Verdict::InUsersRegistry;
    if (item.kind == kinds::kFile && isSettingsFile(item.path, isLeadByte)) return Verdict::UsersFile;
    if (item.kind == kinds::kFileBackup && isSettingsFile(item.path, isLeadByte) &&
        isBackupOf(item.extra, item.path))
        return Verdict::UsersFile;
    if (item.kind == kinds::kFolder && isSettingsFolder(item.path, isLeadByte)) return Verdict::UsersFile;
    return Verdict::Refused;
}

bool liesInside(const std::string& path, const std::string& folder, path::LeadByteTest isLeadByte) {
    const std::string base = path::withoutTrailingSeparator(folder, isLeadByte);
    if (base.empty() || path.size() <= base.size() + 1 || path[base.size()] != '\\') return false;
    if (!narrow::equalsIgnoreCase(path.substr(0, base.size()), base)) return false;
    // No name that climbs back out.
    for (const std::string& name : path::names(path.substr(base.size() + 1), isLeadByte))
        if (name.empty() || name == "." || name == "..") return false;
    return true;
}

}  // namespace userrecord
