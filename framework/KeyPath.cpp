// Registry keys by root and path; see KeyPath.h.
#include "framework/KeyPath.h"

#include "framework/NarrowString.h"

namespace {

const char* const kRedirectedSoftware = "SOFTWARE\\Wow6432Node\\";

// The part of the path that must be opened in one call. A 32-bit process on 64-bit Windows sees
// HKLM\SOFTWARE through the registry redirector: "SOFTWARE\Wow6432Node\<name>" named in one call
// leads to the 32-bit tree, but SOFTWARE opened alone already is the 32-bit view, below which
// there is no Wow6432Node key. Everything below is opened a name at a time (RegistryKey::openPath:
// the narrow functions convert a whole path through a buffer of 260 characters on some systems).
std::size_t onePieceLength(const std::string& path) {
    const std::size_t prefix = std::char_traits<char>::length(kRedirectedSoftware);
    if (path.size() <= prefix || !narrow::equalsIgnoreCase(path.substr(0, prefix), kRedirectedSoftware))
        return 0;
    std::size_t end = path.find('\\', prefix);
    return end == std::string::npos ? path.size() : end;
}

// Opens (or creates) the first piece in one call, the rest a name at a time.
template <typename OnePiece, typename ByName>
LONG walk(const KeyPath& key, RegistryKey& result, OnePiece onePiece, ByName byName) {
    std::size_t first = onePieceLength(key.path);
    if (first == 0) return byName(result, key.root, key.path);
    RegistryKey start;
    LONG status = onePiece(start, key.root, key.path.substr(0, first));
    if (status != ERROR_SUCCESS) return status;
    return byName(result, start.get(), first < key.path.size() ? key.path.substr(first + 1) : std::string());
}

}  // namespace

std::string rootName(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (root == HKEY_USERS) return "HKEY_USERS";
    return "HKEY_CLASSES_ROOT";
}

std::string KeyPath::name() const {
    std::string below = path;
    while (!below.empty() && below.back() == '\\') below.pop_back();
    return below.empty() ? rootName(root) : rootName(root) + "\\" + below;
}

KeyPath KeyPath::operator/(const std::string& below) const {
    if (path.empty()) return {root, below};
    return {root, path.back() == '\\' ? path + below : path + "\\" + below};
}

LONG KeyPath::open(RegistryKey& key, REGSAM access) const {
    return walk(
        *this, key,
        [&](RegistryKey& into, HKEY parent, const std::string& piece) {
            return into.open(parent, piece, access);
        },
        [&](RegistryKey& into, HKEY parent, const std::string& below) {
            return into.openPath(parent, below, access);
        });
}

LONG KeyPath::create(RegistryKey& key, REGSAM access) const {
    return walk(
        *this, key,
        [&](RegistryKey& into, HKEY parent, const std::string& piece) {
            return into.create(parent, piece, access);
        },
        [&](RegistryKey& into, HKEY parent, const std::string& below) {
            return into.createPath(parent, below, access);
        });
}

bool KeyPath::exists() const {
    RegistryKey key;
    return open(key, KEY_READ) == ERROR_SUCCESS;
}
