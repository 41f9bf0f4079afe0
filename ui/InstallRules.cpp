// Install command decisions; see InstallRules.h.
#include "ui/InstallRules.h"

#include "framework/NarrowString.h"

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
