// Install command decisions; see InstallRules.h.
#include "ui/InstallRules.h"

#include "framework/NarrowString.h"
#include "ui/FolderRules.h"

bool isAcadProcessName(const std::string& exeName) {
    std::string lower = exeName;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower.find("acad.exe") != std::string::npos;
}

std::string chosenFolder(const std::string& pathField) {
    std::string folder = pathField;
    if (!folder.empty() && narrow::findLastBackslash(folder) == folder.size() - 1) folder.pop_back();
    return folder;
}

std::string targetFolderIn(const std::string& chosen) { return chosen + "\\T-DodudEdiv"; }

PathFieldVerdict checkPathField(const std::string& pathField, std::string& chosen) {
    chosen = chosenFolder(pathField);
    if (chosen.empty()) return PathFieldVerdict::Empty;
    if (folder::hasListSeparator(chosen)) return PathFieldVerdict::ListSeparator;
    // A drive root typed as "D:\\" is chosen as "D:" (the target folder is then D:\\T-DodudEdiv);
    // the form checked is the root's. "D:" typed alone names the current folder of drive D.
    const std::string& form = chosen.size() == 2 && pathField.size() == 3 ? pathField : chosen;
    std::vector<std::string> levels;
    return folder::folderLevels(form, levels) ? PathFieldVerdict::Usable : PathFieldVerdict::Invalid;
}
