// Decisions of the deployment; see DeployRules.h.
#include "deploy/DeployRules.h"

namespace {

const char* const kSkippedFileNames[] = {kDialogInstallerName, kPluginFontNames[0], kPluginFontNames[1],
                                         kPlotDriverSourceName};

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

std::string hostModuleName(int year) { return kHostModulePrefix + std::to_string(year) + kHostModuleSuffix; }

std::vector<std::string> hostModuleNames() {
    std::vector<std::string> names;
    for (int year = kFirstHostModuleYear; year <= kLastHostModuleYear; ++year)
        names.push_back(hostModuleName(year));
    return names;
}

std::vector<ReleaseCopy> releaseCopies(bool replacePlotDriver) {
    std::vector<ReleaseCopy> copies;
    using Kind = ReleaseCopy::Kind;
    for (const char* font : kPluginFontNames) copies.push_back({font, kFontsFolderName, font, Kind::Own});
    copies.push_back({kSharedLibraryName, "", kSharedLibraryName, Kind::Shared});
    for (const std::string& name : hostModuleNames()) copies.push_back({name, "", name, Kind::Own});
    if (replacePlotDriver)
        copies.push_back({kPlotDriverSourceName, kPlotDriverFolderName, kPlotDriverName, Kind::Replacement});
    return copies;
}

Overwrite overwriteRule(unsigned long long incomingVersion, unsigned long long existingVersion) {
    if (existingVersion != 0) return incomingVersion > existingVersion ? Overwrite::Yes : Overwrite::No;
    return incomingVersion != 0 ? Overwrite::Yes : Overwrite::IfDifferent;
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

std::string userSettingsFolder(const std::string& appDataFolder) {
    return path::join(appDataFolder, kUserFolderName);
}

std::string userSettingsPath(const std::string& appDataFolder, const std::string& name) {
    return userSettingsFolder(appDataFolder) + "\\" + name;
}

std::string keptSettingsFolder(const std::string& targetFolder) {
    return path::join(targetFolder, "UserSetup");
}

std::string keptSettingsPath(const std::string& targetFolder) {
    return path::join(keptSettingsFolder(targetFolder), kSettingsFileName);
}
