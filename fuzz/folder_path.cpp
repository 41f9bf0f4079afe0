// Fuzzes the folder path rules: no crash or overrun on any bytes, and whatever is accepted
// is well-formed: a drive root, then valid names, every level a prefix of the next.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/FolderRules.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// Every byte belongs to exactly one well-formed character.
void requireWellFormed(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = path::characterLength(text, at, narrow::isCp936LeadByte);
        require(length == 1 || length == 2);
        at += length;
    }
    require(at == text.size());
}

void checkName(const std::string& name) {
    if (!folder::isValidFolderName(name)) return;
    requireWellFormed(name);
    require(name.front() != ' ' && name.front() != '.' && name.front() != '\t');
}

void checkPath(const std::string& path) {
    std::vector<std::string> levels;
    if (!folder::folderLevels(path, levels)) {
        require(levels.empty());
        return;
    }
    require(path.size() <= folder::kMaxPathLength);
    requireWellFormed(path);
    require(!levels.empty() && levels.back() == path);
    require(levels[0].size() == 3 && levels[0][1] == ':' && levels[0][2] == '\\');
    for (std::size_t i = 1; i < levels.size(); ++i) {
        const std::string& previous = levels[i - 1];
        std::size_t start = i == 1 ? 3 : previous.size() + 1;
        require(levels[i].size() > start && levels[i].compare(0, previous.size(), previous) == 0);
        require(i == 1 || levels[i][previous.size()] == '\\');
        require(folder::isValidFolderName(levels[i].substr(start)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    checkName(text);
    checkPath(text);
    checkPath("C:\\" + text);  // reaches the name rules far more often
    return 0;
}
