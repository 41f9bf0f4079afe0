// Decisions of the deployment; see DeployRules.h.
#include "deploy/DeployRules.h"

namespace {

const char* const kSkippedFileNames[] = {"SetUp.EXE", "Torlen_EN.shx", "Torlen_HZ.shx", "Torlen.prt5"};

}  // namespace

bool isSettingsFileName(const std::string& name) { return narrow::equalsIgnoreCase(name, kSettingsFileName); }

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
    std::vector<ReleaseCopy> copies;
    for (const char* font : kPluginFontNames) copies.push_back({font, kFontsFolderName, font});
    copies.push_back({"itextsharp.dll", "", "itextsharp.dll"});
    for (const std::string& name : hostModuleNames()) copies.push_back({name, "", name});
    if (replacePlotDriver) copies.push_back({"Torlen.prt5", "Drv", "pdfplot9.hdi"});
    return copies;
}

std::string longestOverlongPath(const std::vector<PlannedPath>& paths, path::LeadByteTest isLeadByte) {
    std::string longest;
    std::size_t longestCount = 0;
    for (const PlannedPath& planned : paths) {
        std::size_t count = path::charCount(planned.path, isLeadByte);
        if (path::fitsLimit(planned.path, isLeadByte, planned.isFolder) || count <= longestCount) continue;
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
                                const std::string& shellAppDataFolder, path::LeadByteTest isLeadByte) {
    std::string value = path::withoutTrailingSeparator(appDataValue, isLeadByte);
    if (appDataSet && !value.empty() &&
        path::fitsLimit(userSettingsPath(value, kSettingsFileName), isLeadByte)) {
        return value;
    }
    return path::withoutTrailingSeparator(shellAppDataFolder, isLeadByte);
}

std::string userSettingsFolder(const std::string& appDataFolder) { return appDataFolder + "\\Torlen"; }

std::string userSettingsPath(const std::string& appDataFolder, const std::string& name) {
    return userSettingsFolder(appDataFolder) + "\\" + name;
}

std::string keptSettingsFolder(const std::string& targetFolder) {
    return path::join(targetFolder, "UserSetup");
}

std::string keptSettingsPath(const std::string& targetFolder) {
    return path::join(keptSettingsFolder(targetFolder), kSettingsFileName);
}
