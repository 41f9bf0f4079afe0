// Folder safety decisions; see FolderSafetyRules.h.
#include "framework/FolderSafetyRules.h"

#include <cwchar>

namespace foldersafety {

namespace {

bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
wchar_t asciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }
bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// CON, PRN, AUX, NUL, COM1..9, LPT1..9, CONIN$ and CONOUT$ name devices in every folder, with
// any extension and with spaces before it ("nul .txt").
bool isDeviceName(const std::wstring& name) {
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = asciiUpper(c);
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$" ||
        stem == L"CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

bool isAcceptableName(const std::wstring& name) {
    if (name.empty() || name.back() == L'.' || name.back() == L' ') return false;  // also "." and ".."
    for (wchar_t c : name) {
        if (c < 0x20 || std::wcschr(L"<>:\"/\\|?*", c) != nullptr) return false;
    }
    return !isDeviceName(name);
}

// Whether the folder with levels `outer` is the folder with levels `inner` or holds it.
bool holdsOrIs(const std::vector<std::wstring>& outer, const std::vector<std::wstring>& inner,
               SameName same) {
    return outer.size() <= inner.size() && same(outer.back(), inner[outer.size() - 1]);
}

constexpr std::uint32_t kDelete = 0x00010000, kWriteDac = 0x00040000, kWriteOwner = 0x00080000;
constexpr std::uint32_t kAddFile = 0x2, kAddSubfolder = 0x4, kDeleteChild = 0x40;

}  // namespace

bool sameNameIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t at = 0; at < a.size(); ++at) {
        if (asciiUpper(a[at]) != asciiUpper(b[at])) return false;
    }
    return true;
}

bool folderChain(const std::wstring& path, std::vector<std::wstring>& levels) {
    levels.clear();
    if (path.size() < 2 || !isAsciiLetter(path[0]) || path[1] != L':') return false;
    if (path.size() > 2 && !isSeparator(path[2])) return false;  // "D:a" is relative to D's current folder
    std::vector<std::wstring> found{path.substr(0, 2) + L"\\"};
    std::wstring level = path.substr(0, 2);
    for (std::size_t start = 3; start < path.size();) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        std::wstring name = path.substr(start, end - start);
        if (!isAcceptableName(name)) return false;
        level += L"\\" + name;
        found.push_back(level);
        start = end + 1;  // past a trailing separator, the loop ends
    }
    levels.swap(found);
    return true;
}

ProtectVerdict mayProtectChosenFolder(const std::wstring& chosen, const std::vector<Entry>& contents,
                                      const std::wstring& pluginFolderName, const KnownFolders& known,
                                      SameName sameName) {
    std::vector<std::wstring> levels;
    if (!folderChain(chosen, levels)) return ProtectVerdict::NotAFullPath;
    if (levels.size() == 1) return ProtectVerdict::DriveRoot;
    // A known folder in a form folderChain refuses cannot be compared; the test of what the
    // chosen folder holds still keeps a system or profile folder out.
    auto holds = [&](const std::wstring& other, bool orIsIn) {
        std::vector<std::wstring> otherLevels;
        if (!folderChain(other, otherLevels)) return false;
        return holdsOrIs(levels, otherLevels, sameName) ||
               (orIsIn && holdsOrIs(otherLevels, levels, sameName));
    };
    if (holds(known.windows, true)) return ProtectVerdict::SystemFolder;
    for (const std::wstring& folder : known.system) {
        if (holds(folder, false)) return ProtectVerdict::SystemFolder;
    }
    for (const std::wstring& profile : known.profiles) {
        if (holds(profile, false)) return ProtectVerdict::ProfileFolder;
    }
    for (const Entry& entry : contents) {
        if (entry.kind != EntryKind::Folder || !sameName(entry.name, pluginFolderName))
            return ProtectVerdict::HoldsOtherEntries;
    }
    return ProtectVerdict::Allowed;
}

bool isAdministratorSid(const std::string& sid) {
    return sid == "S-1-5-18" || sid == "S-1-5-32-544" ||
           sid == "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
}

std::uint32_t fileRights(std::uint32_t mask) {
    // GENERIC_READ, GENERIC_WRITE, GENERIC_EXECUTE, GENERIC_ALL and what they are for files.
    const std::uint32_t generic[][2] = {{0x80000000u, 0x120089u},
                                        {0x40000000u, 0x120116u},
                                        {0x20000000u, 0x1200a0u},
                                        {0x10000000u, 0x1f01ffu}};
    std::uint32_t rights = mask & 0x0fffffffu;
    for (const auto& pair : generic) {
        if (mask & pair[0]) rights |= pair[1];
    }
    return rights;
}

bool othersMayChange(const std::string& ownerSid, const std::vector<AccessEntry>& entries, FolderRole role,
                     const std::string& administratorAccount) {
    const bool plugin = role == FolderRole::PluginFolder;
    const std::uint32_t counted =
        kDelete | kWriteDac | kWriteOwner | kDeleteChild | (plugin ? kAddFile | kAddSubfolder : 0u);
    auto isAdministrator = [&](const std::string& sid) {
        return isAdministratorSid(sid) || (!administratorAccount.empty() && sid == administratorAccount);
    };
    if (!isAdministrator(ownerSid)) return true;
    for (const AccessEntry& entry : entries) {
        // CREATOR OWNER and OWNER RIGHTS stand for an owner: the folder's is judged above, and
        // a new entry's is whoever may create one, judged by that right.
        if (entry.sid == "S-1-3-0" || entry.sid == "S-1-3-4") continue;
        if (entry.inheritOnly && !plugin) continue;
        if ((fileRights(entry.mask) & counted) && !isAdministrator(entry.sid)) return true;
    }
    return false;
}

}  // namespace foldersafety
