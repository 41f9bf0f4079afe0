// The registry module; see Registry.h.
#include "framework/Registry.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

// Reads a value whole into units of Char, growing the buffer while the registry reports
// more data (the value may change between two reads, so a few times). One zero unit past
// the data is always kept: registry strings need not be stored with their terminator.
template <class Char, class Query>
bool readWhole(Query query, std::basic_string<Char>& text, DWORD* type) {
    std::vector<Char> buffer(520 / sizeof(Char) + 1, Char());
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(Char));
        DWORD valueType = REG_NONE;
        LONG status = query(&valueType, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_MORE_DATA) {
            buffer.assign(std::max<std::size_t>(size / sizeof(Char) + 2, buffer.size() * 2), Char());
            continue;
        }
        if (status != ERROR_SUCCESS) return false;
        std::size_t units = std::min<std::size_t>(size / sizeof(Char), buffer.size() - 1);
        text.assign(buffer.data(), std::find(buffer.data(), buffer.data() + units, Char()) - buffer.data());
        if (type) *type = valueType;
        return true;
    }
    return false;
}

}  // namespace

void RegistryKey::close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

LONG RegistryKey::open(HKEY parent, const std::string& path, REGSAM access) {
    close();
    return RegOpenKeyExA(parent, path.c_str(), 0, access, &key_);
}

// Follows the names of a path from parent, each step opening (or creating) the next key below
// the one before; the last key is handed over to *result.
template <class Step>
LONG walkNames(HKEY parent, const std::string& path, Step step, RegistryKey& result) {
    RegistryKey current;
    for (const std::string& name : path::names(path, isSystemLeadByte)) {
        if (name.empty()) continue;
        RegistryKey next;
        LONG status = step(current ? current.get() : parent, name, next);
        if (status != ERROR_SUCCESS) return status;
        current = std::move(next);
    }
    if (!current) return result.open(parent, "", kDefaultKeyAccess);
    result = std::move(current);
    return ERROR_SUCCESS;
}

LONG RegistryKey::openPath(HKEY parent, const std::string& path, REGSAM access) {
    close();
    return walkNames(
        parent, path,
        [&](HKEY from, const std::string& name, RegistryKey& next) { return next.open(from, name, access); },
        *this);
}

LONG RegistryKey::create(HKEY parent, const std::string& path, REGSAM access) {
    close();
    return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, access, nullptr, &key_, nullptr);
}

LONG RegistryKey::createPath(HKEY parent, const std::string& path, REGSAM access) {
    close();
    return walkNames(
        parent, path,
        [&](HKEY from, const std::string& name, RegistryKey& next) {
            next.close();
            return RegCreateKeyExA(from, name.c_str(), 0, nullptr, 0, access, nullptr, &next.key_, nullptr);
        },
        *this);
}

DWORD RegistryKey::subKeyCount() const {
    DWORD count = 0;
    if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return count;
}

bool RegistryKey::isEmpty() const {
    DWORD subKeys = 0, values = 0;
    return RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys == 0 && values == 0;
}

bool RegistryKey::subKeyNameAt(DWORD index, std::string& name) const {
    // Key names are at most 255 UTF-16 units; in code page 936 a name of 255 Chinese
    // characters takes 510 bytes, so a 256-byte buffer would lose such names.
    char buffer[512] = {};
    DWORD length = sizeof buffer;
    if (RegEnumKeyExA(key_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    name.assign(buffer, std::min<DWORD>(length, sizeof buffer - 1));
    return true;
}

bool RegistryKey::readText(const char* name, std::string& text, DWORD* type) const {
    return readWhole<char>(
        [&](DWORD* valueType, BYTE* data, DWORD* size) {
            return RegQueryValueExA(key_, name, nullptr, valueType, data, size);
        },
        text, type);
}

bool RegistryKey::readWide(const wchar_t* name, std::wstring& text, DWORD* type) const {
    return readWhole<wchar_t>(
        [&](DWORD* valueType, BYTE* data, DWORD* size) {
            return RegQueryValueExW(key_, name, nullptr, valueType, data, size);
        },
        text, type);
}

bool RegistryKey::readDword(const char* name, DWORD& value) const {
    DWORD type = REG_NONE, size = sizeof value;
    return RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value;
}

LONG RegistryKey::writeDword(const char* name, DWORD value) const {
    return RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG RegistryKey::writeText(const char* name, const std::string& text) const {
    return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size()));
}

LONG RegistryKey::writeWide(const wchar_t* name, const std::wstring& text, DWORD type) const {
    return RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG RegistryKey::deleteSubKey(const std::string& path) const { return RegDeleteKeyA(key_, path.c_str()); }

LONG RegistryKey::deleteValue(const char* name) const {
    LONG status = RegDeleteValueA(key_, name);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LONG RegistryKey::deleteTree(const std::string& path) const { return RegDeleteTreeA(key_, path.c_str()); }

void listSubKeyNames(const RegistryKey& key, std::vector<std::string>& names) {
    DWORD count = key.subKeyCount();
    for (DWORD index = 0; index < count; ++index) {
        std::string name;
        if (!key.subKeyNameAt(index, name)) continue;
        RegistryKey subKey;
        if (subKey.open(key.get(), name, KEY_READ) != ERROR_SUCCESS) continue;
        names.push_back(name);
    }
}
