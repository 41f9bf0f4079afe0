// The target-folder rule; see TargetFolderRules.h.
#include "deploy/TargetFolderRules.h"

#include "deploy/ProductNames.h"
#include "framework/FolderRules.h"

std::string chosenFolder(const std::string& pathField, path::LeadByteTest isLeadByte) {
    return path::withoutTrailingSeparator(pathField, isLeadByte);
}

std::string targetFolderIn(const std::string& chosen) { return path::join(chosen, kPluginFolderName); }

PathFieldVerdict checkPathField(const std::string& pathField, std::string& chosen,
                                path::LeadByteTest isLeadByte) {
    chosen = chosenFolder(pathField, isLeadByte);
    if (chosen.empty()) return PathFieldVerdict::Empty;
    if (folder::hasListSeparator(chosen)) return PathFieldVerdict::ListSeparator;
    // A drive root typed as "D:\\" is chosen as "D:" (the target folder is then D:\\T-DodudEdiv);
    // the form checked is the root's. "D:" typed alone names the current folder of drive D.
    const std::string& form = chosen.size() == 2 && pathField.size() == 3 ? pathField : chosen;
    std::vector<std::string> levels;
    return folder::folderLevels(form, levels, isLeadByte) ? PathFieldVerdict::Usable
                                                          : PathFieldVerdict::Invalid;
}

bool isPluginFolderPath(const std::string& folder, path::LeadByteTest isLeadByte) {
    std::vector<std::string> levels;
    return folder::folderLevels(folder, levels, isLeadByte) && levels.size() > 1 &&
           narrow::equalsIgnoreCase(path::names(folder, isLeadByte).back(), kPluginFolderName);
}
