// Decisions of the deployment; see DeployRules.h.
#include "deploy/DeployRules.h"

namespace {

const char* const kSkippedFileNames[] = {"SetUp.EXE", "Torlen_EN.shx", "Torlen_HZ.shx", "Torlen.prt5"};

}  // namespace

bool isSettingsFileName(const std::string& name) { return narrow::equalsIgnoreCase(name, "Torlen.Ini"); }

bool isSkippedFileName(const std::string& name) {
    for (const char* skipped : kSkippedFileNames) {
        if (narrow::equalsIgnoreCase(name, skipped)) return true;
    }
    return false;
}

EntryAction entryAction(const std::string& name, bool isFolder) {
    if (name == "." || name == ".." || isFolder || isSkippedFileName(name)) return EntryAction::Skip;
    return isSettingsFileName(name) ? EntryAction::CopyToUserFolder : EntryAction::CopyToTarget;
}

std::vector<std::string> hostModuleNames() {
    std::vector<std::string> names;
    for (int year = kFirstHostModuleYear; year <= kLastHostModuleYear; ++year) {
        names.push_back(narrow::format("ACAD%dP.dll", year));
    }
    return names;
}

std::vector<ReleaseCopy> releaseCopies(bool replacePlotDriver) {
    std::vector<ReleaseCopy> copies = {
        {"Torlen_EN.shx", "Fonts", "Torlen_EN.shx"},
        {"Torlen_HZ.shx", "Fonts", "Torlen_HZ.shx"},
        {"itextsharp.dll", "", "itextsharp.dll"},
    };
    for (const std::string& name : hostModuleNames()) copies.push_back({name, "", name});
    if (replacePlotDriver) copies.push_back({"Torlen.prt5", "Drv", "pdfplot9.hdi"});
    return copies;
}

std::size_t pathCharCount(const std::string& path, narrow::LeadByteTest isLeadByte) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < path.size(); ++i, ++count) {
        if (isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) ++i;
    }
    return count;
}

bool fitsPathLimit(const std::string& path, narrow::LeadByteTest isLeadByte) {
    return pathCharCount(path, isLeadByte) <= kMaxPathChars;
}

std::string longestOverlongPath(const std::vector<PlannedPath>& paths, narrow::LeadByteTest isLeadByte) {
    std::string longest;
    std::size_t longestCount = 0;
    for (const PlannedPath& planned : paths) {
        std::size_t count = pathCharCount(planned.path, isLeadByte);
        if (count <= (planned.isFolder ? kMaxFolderChars : kMaxPathChars) || count <= longestCount) continue;
        longest = planned.path;
        longestCount = count;
    }
    return longest;
}

std::string pluginFolderSddl(const std::string& installingUserSid) {
    // FA: full control; 0x1200a9: read, list and execute. OICI: files and folders inherit.
    std::string sddl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    if (!installingUserSid.empty()) sddl += "(A;OICI;FA;;;" + installingUserSid + ")";
    return sddl + "(A;OICI;0x1200a9;;;BU)";
}

std::string chooseAppDataFolder(bool appDataSet, const std::string& appDataValue,
                                const std::string& shellAppDataFolder, narrow::LeadByteTest isLeadByte) {
    std::string value = withoutTrailingBackslash(appDataValue, isLeadByte);
    if (appDataSet && !value.empty() && fitsPathLimit(userSettingsPath(value, "Torlen.Ini"), isLeadByte)) {
        return value;
    }
    return withoutTrailingBackslash(shellAppDataFolder, isLeadByte);
}

std::string folderOfPath(const std::string& filePath, narrow::LeadByteTest isLeadByte) {
    std::size_t separator = narrow::findLastBackslash(filePath, isLeadByte);
    return separator == std::string::npos ? std::string() : filePath.substr(0, separator);
}

std::string withoutTrailingBackslash(std::string path, narrow::LeadByteTest isLeadByte) {
    // Only a backslash of its own counts: the trail byte of a double-byte character may be
    // 0x5C too, and cutting it would leave half a character.
    if (!path.empty() && narrow::findLastBackslash(path, isLeadByte) == path.size() - 1) path.pop_back();
    return path;
}

std::string userSettingsFolder(const std::string& appDataFolder) { return appDataFolder + "\\Torlen"; }

std::string userSettingsPath(const std::string& appDataFolder, const std::string& name) {
    return userSettingsFolder(appDataFolder) + "\\" + name;
}
