// Fuzzes the code page 936 text helpers on arbitrary bytes, as a path arrives from the
// folder picker, the registry or the environment: the last-backslash search, upper-casing,
// and the three trailing-backslash rules (path field, AutoCAD location, deployment paths),
// which must agree with each other and with the folder rules' idea of a character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "acad/ReleaseRules.h"
#include "deploy/DeployRules.h"
#include "framework/NarrowString.h"
#include "ui/FolderRules.h"
#include "ui/InstallRules.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// The last single-byte backslash by the folder rules' character walk; false when those
// rules do not take the text as well-formed GBK (then they have no opinion).
bool lastBackslashByFolderRules(const std::string& text, std::size_t& found) {
    found = std::string::npos;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = folder::characterLength(text, at);
        if (length == 0) return false;
        if (length == 1 && text[at] == '\\') found = at;
        at += length;
    }
    return true;
}

void checkLastBackslash(const std::string& text) {
    std::size_t found = narrow::findLastBackslash(text);
    require(found == std::string::npos || (found < text.size() && text[found] == '\\'));
    // A plain letter after the text never changes which backslash is last.
    require(narrow::findLastBackslash(text + "a") == found);
    std::size_t byFolderRules;
    if (lastBackslashByFolderRules(text, byFolderRules)) require(found == byFolderRules);
}

void checkTrailingBackslash(const std::string& text) {
    std::string chosen = chosenFolder(text);
    require(text.compare(0, chosen.size(), chosen) == 0);
    bool endsInBackslash = !text.empty() && narrow::findLastBackslash(text) == text.size() - 1;
    require(chosen.size() == (endsInBackslash ? text.size() - 1 : text.size()));
    require(withoutTrailingBackslash(text) == chosen);
    std::string location = text;
    acad::dropTrailingBackslash(location, narrow::isCp936LeadByte);
    // The location rule alone keeps a lone backslash (a path's first character).
    require(location == (text == "\\" ? text : chosen));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    checkLastBackslash(text);
    checkTrailingBackslash(text);
    return 0;
}
