// The restart's arguments; see RestartRules.h.
//
// Form: --elevated-restart "<folder>" <year>[,<year>...]
// The folder cannot hold a quotation mark (no Windows path can), so the next one ends it; a
// folder that ends with a backslash needs no escaping, as it would for CommandLineToArgvW,
// because both ends of the hand-over are this program.
#include "ui/RestartRules.h"

namespace restart {

namespace {

const std::wstring kMarker = L"--elevated-restart";
// A folder longer than any path the file functions take is no folder of ours.
const std::size_t kMaxFolderLength = 259;

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Where the arguments start: after the program's name (quoted, or up to the first blank) and
// the blanks after it, as Windows splits a command line.
std::size_t argumentsStart(const std::wstring& commandLine) {
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        at = commandLine.find(L'"', 1);
        at = at == std::wstring::npos ? commandLine.size() : at + 1;
    } else {
        while (at < commandLine.size() && !isBlank(commandLine[at])) ++at;
    }
    while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
    return at;
}

bool isFolderCharacter(wchar_t c) { return c >= L' ' && c != L'"'; }

// Four digits naming a release the installer knows, not named before.
bool takeYear(const std::wstring& digits, ReleaseSelection& releases) {
    if (digits.size() != 4) return false;
    int year = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return false;
        year = year * 10 + (c - L'0');
    }
    if (year < kFirstReleaseYear || year > kLastReleaseYear) return false;
    int& tick = releases[static_cast<std::size_t>(releaseIndex(year))];
    if (tick) return false;
    tick = 1;
    return true;
}

// Four digits, by hand: std::to_wstring would bring the wide printf into the executable.
std::wstring yearText(int year) {
    std::wstring digits(4, L'0');
    for (std::size_t place = 4; place-- > 0; year /= 10)
        digits[place] = static_cast<wchar_t>(L'0' + year % 10);
    return digits;
}

bool readYears(const std::wstring& list, ReleaseSelection& releases) {
    releases.fill(0);
    std::size_t start = 0;
    while (true) {
        std::size_t comma = list.find(L',', start);
        std::size_t end = comma == std::wstring::npos ? list.size() : comma;
        if (!takeYear(list.substr(start, end - start), releases)) return false;
        if (comma == std::wstring::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

std::wstring arguments(const Choices& choices) {
    std::wstring years;
    for (int year = kFirstReleaseYear; year <= kLastReleaseYear; ++year) {
        if (!choices.releases[static_cast<std::size_t>(releaseIndex(year))]) continue;
        if (!years.empty()) years += L',';
        years += yearText(year);
    }
    return kMarker + L" \"" + choices.folder + L"\" " + years;
}

bool read(const std::wstring& commandLine, Choices& choices) {
    std::wstring rest = commandLine.substr(argumentsStart(commandLine));
    const std::wstring opening = kMarker + L" \"";
    if (rest.compare(0, opening.size(), opening) != 0) return false;
    std::size_t folderEnd = rest.find(L'"', opening.size());
    if (folderEnd == std::wstring::npos || folderEnd + 1 >= rest.size() || rest[folderEnd + 1] != L' ')
        return false;
    std::wstring folder = rest.substr(opening.size(), folderEnd - opening.size());
    if (folder.empty() || folder.size() > kMaxFolderLength) return false;
    for (wchar_t c : folder)
        if (!isFolderCharacter(c)) return false;
    if (!readYears(rest.substr(folderEnd + 2), choices.releases)) return false;
    choices.folder = folder;
    return true;
}

const wchar_t* const kConfirmedUninstall = L"/uninstall --confirmed";

std::vector<std::wstring> splitArguments(const std::wstring& commandLine) {
    std::vector<std::wstring> arguments;
    for (std::size_t at = argumentsStart(commandLine); at < commandLine.size();) {
        std::size_t end;
        if (commandLine[at] == L'"') {
            end = commandLine.find(L'"', at + 1);
            if (end == std::wstring::npos) end = commandLine.size();
            arguments.push_back(commandLine.substr(at + 1, end - at - 1));
            ++end;
        } else {
            end = at;
            while (end < commandLine.size() && !isBlank(commandLine[end])) ++end;
            arguments.push_back(commandLine.substr(at, end - at));
        }
        at = end;
        while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
    }
    return arguments;
}

Uninstall readUninstall(const std::wstring& commandLine) {
    std::wstring given = commandLine.substr(argumentsStart(commandLine));
    while (!given.empty() && isBlank(given.back())) given.pop_back();
    if (given == L"/uninstall") return Uninstall::Ask;
    return given == kConfirmedUninstall ? Uninstall::Confirmed : Uninstall::None;
}

}  // namespace restart
