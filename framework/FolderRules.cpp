// Folder path form rules; see FolderRules.h.
#include "framework/FolderRules.h"

#include <cstring>

namespace folder {

namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Characters a folder name must not contain (single-byte characters only).
bool isForbidden(char c) { return c != '\0' && std::strchr("\"*/:<>?\\|", c) != nullptr; }

// Characters a folder name must not begin or end with.
bool isBadAtEdge(char c) { return c == '\t' || c == ' ' || c == '.'; }

// Position of the next separator (a backslash that is a character of its own) at or after
// `from`, text.size() when there is none, or npos when the text is not well-formed.
std::size_t nextSeparator(const std::string& text, std::size_t from, path::LeadByteTest isLeadByte) {
    std::size_t at = from;
    while (at < text.size()) {
        std::size_t length = path::characterLength(text, at, isLeadByte);
        if (length == 0) return std::string::npos;
        if (length == 1 && text[at] == '\\') return at;
        at += length;
    }
    return at;
}

}  // namespace

bool isValidFolderName(const std::string& name, path::LeadByteTest isLeadByte) {
    if (name.empty()) return false;
    std::size_t at = 0;
    std::size_t last = 0;
    while (at < name.size()) {
        std::size_t length = path::characterLength(name, at, isLeadByte);
        if (length == 0) return false;
        if (length == 1 && isForbidden(name[at])) return false;
        last = at;
        at += length;
    }
    // A double-byte character never counts as tab, space or dot: its bytes are >= 0x40.
    return !isBadAtEdge(name[0]) && !isBadAtEdge(name[last]);
}

bool folderLevels(const std::string& path, std::vector<std::string>& levels, path::LeadByteTest isLeadByte) {
    levels.clear();
    if (path.size() < 3 || path.size() > kMaxPathLength) return false;
    if (!isAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
    std::vector<std::string> found{path.substr(0, 3)};
    for (std::size_t start = 3; start < path.size();) {
        std::size_t end = nextSeparator(path, start, isLeadByte);
        if (end == std::string::npos) return false;
        if (!isValidFolderName(path.substr(start, end - start), isLeadByte)) return false;
        found.push_back(path.substr(0, end));
        if (end == path.size()) break;
        start = end + 1;
        if (start == path.size()) return false;  // trailing backslash
    }
    levels.swap(found);
    return true;
}

bool hasListSeparator(const std::string& path) { return path.find(';') != std::string::npos; }

}  // namespace folder
