// Trusted-path list composition and the profile key paths.
#include "acad/TrustedPathRules.h"

namespace acad {

namespace {
// Substring search that only accepts matches starting on a character boundary, so that
// the trail byte of a double-byte character never begins a match (a trail byte may be
// '\' or a letter).
bool containsAtCharacter(const std::string& text, const std::string& part, narrow::LeadByteTest isLeadByte) {
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (text.compare(i, part.size(), part) == 0) return true;
        if (isLeadByte(static_cast<unsigned char>(text[i]))) ++i;
    }
    return false;
}
}  // namespace

std::string profileRootPath(const std::string& version, const std::string& product) {
    return "SOFTWARE\\Autodesk\\AutoCAD\\" + version + "\\" + product + "\\Profiles";
}

std::string variablesKeyPath(const std::string& profileRoot, const std::string& profile) {
    return profileRoot + "\\" + profile + "\\Variables";
}

std::string composeTrustedPaths(const std::string& current, const std::string& folder,
                                narrow::LeadByteTest isLeadByte) {
    // Lengths are in bytes, as the multibyte code page counts them.
    if (current.size() <= 2) return folder;
    std::string list = narrow::toUpper(current, isLeadByte);
    std::string upperFolder = narrow::toUpper(folder, isLeadByte);
    if (containsAtCharacter(list, upperFolder, isLeadByte)) return list;
    return list + ";" + upperFolder;
}

}  // namespace acad
