// Trusted-path list composition and the profile key paths.
#include "acad/TrustedPathRules.h"

#include <vector>

namespace acad {

namespace {

const wchar_t kSeparator = L';';
// AutoCAD's mark for a folder trusted with all its sub-folders.
const std::wstring kRecursiveSuffix = L"\\...";

std::vector<std::wstring> entriesOf(const std::wstring& list) {
    std::vector<std::wstring> entries;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(kSeparator, start);
        if (end == std::wstring::npos) end = list.size();
        if (end > start) entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

bool endsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::wstring withoutTrailingBackslash(std::wstring folder) {
    if (endsWith(folder, L"\\")) folder.pop_back();
    return folder;
}

// Whether an entry trusts the folder; both are upper-cased.
bool entryTrusts(const std::wstring& entry, const std::wstring& folder) {
    if (withoutTrailingBackslash(entry) == folder) return true;
    if (!endsWith(entry, kRecursiveSuffix)) return false;
    std::wstring base = entry.substr(0, entry.size() - kRecursiveSuffix.size());
    return base == folder || (!base.empty() && folder.compare(0, base.size() + 1, base + L"\\") == 0);
}

}  // namespace

std::string profileRootPath(const std::string& version, const std::string& product) {
    return "SOFTWARE\\Autodesk\\AutoCAD\\" + version + "\\" + product + "\\Profiles";
}

std::string variablesKeyPath(const std::string& profileRoot, const std::string& profile) {
    return profileRoot + "\\" + profile + "\\Variables";
}

std::wstring upperAscii(const std::wstring& text) {
    std::wstring result = text;
    for (wchar_t& c : result) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return result;
}

bool trustsFolder(const std::wstring& list, const std::wstring& folder, UpperCase upper) {
    const std::wstring wanted = upper(withoutTrailingBackslash(folder));
    for (const std::wstring& entry : entriesOf(list)) {
        if (entryTrusts(upper(entry), wanted)) return true;
    }
    return false;
}

std::wstring composeTrustedPaths(const std::wstring& current, const std::wstring& folder, UpperCase upper) {
    if (entriesOf(current).empty()) return folder;
    if (trustsFolder(current, folder, upper)) return current;
    std::wstring list = current;
    if (!endsWith(list, std::wstring(1, kSeparator))) list += kSeparator;
    return list + upperAscii(folder);
}

std::wstring removeTrustedFolder(const std::wstring& list, const std::wstring& folder, UpperCase upper) {
    const std::wstring wanted = upper(withoutTrailingBackslash(folder));
    std::wstring kept = list;
    std::size_t start = 0;
    while (start <= kept.size()) {
        std::size_t end = kept.find(kSeparator, start);
        if (end == std::wstring::npos) end = kept.size();
        if (end > start && upper(withoutTrailingBackslash(kept.substr(start, end - start))) == wanted) {
            // With the separator before it, or, for the first entry, the one after it.
            std::size_t from = start > 0 ? start - 1 : start;
            std::size_t to = start > 0 || end == kept.size() ? end : end + 1;
            kept.erase(from, to - from);  // the next entry now begins at start
            continue;
        }
        start = end + 1;
    }
    return kept;
}

}  // namespace acad
