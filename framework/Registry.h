// The registry as the installer uses it: one owned key type whose operations each name the
// access they need (never a KEY_WOW64_* view flag: keys are seen in the process's own view),
// whole values of any length, and key paths opened or created one name at a time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Access the narrow registry functions without an access argument (RegOpenKeyA,
// RegCreateKeyA) ask for: what the caller may have.
constexpr REGSAM kDefaultKeyAccess = MAXIMUM_ALLOWED;

class RegistryKey {
   public:
    RegistryKey() = default;
    ~RegistryKey() { close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            close();
            key_ = other.key_;
            other.key_ = nullptr;
        }
        return *this;
    }

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    void close();

    // Opens a path below parent in one call; an empty path opens parent itself once more.
    LONG open(HKEY parent, const std::string& path, REGSAM access);
    // Creates (or opens) a path below parent in one call.
    LONG create(HKEY parent, const std::string& path, REGSAM access);
    // Opens or creates a path below parent one key name at a time. The narrow registry
    // functions convert a whole path through a buffer of 260 characters on some systems (Wine
    // does), so longer paths, which 255-character key names make possible, would fail in one
    // piece. Empty names (a trailing backslash) are skipped; an empty path is parent itself.
    LONG openPath(HKEY parent, const std::string& path, REGSAM access);
    LONG createPath(HKEY parent, const std::string& path, REGSAM access);

    // Number of direct subkeys; 0 when it cannot be read.
    DWORD subKeyCount() const;
    // Whether the key holds neither subkeys nor values; false when that cannot be read.
    bool isEmpty() const;
    // Name of the subkey at index; false when it cannot be read.
    bool subKeyNameAt(DWORD index, std::string& name) const;

    // A value read whole, however long, as the text of its bytes up to the first zero
    // (whatever its type), and its type. False when absent or unreadable.
    bool readText(const char* name, std::string& text, DWORD* type = nullptr) const;
    // The same, read as UTF-16.
    bool readWide(const wchar_t* name, std::wstring& text, DWORD* type = nullptr) const;

    // A REG_DWORD value; false when absent, unreadable or of another type.
    bool readDword(const char* name, DWORD& value) const;
    LONG writeDword(const char* name, DWORD value) const;
    // A narrow REG_SZ, stored without its terminating zero counted.
    LONG writeText(const char* name, const std::string& text) const;
    // A UTF-16 string of the given type, stored with its terminating zero.
    LONG writeWide(const wchar_t* name, const std::wstring& text, DWORD type) const;
    // Deletes a value; a value that is not there counts as deleted.
    LONG deleteValue(const char* name) const;
    // Deletes a subkey path that has no subkeys of its own.
    LONG deleteSubKey(const std::string& path) const;
    // Deletes a subkey with everything below it.
    LONG deleteTree(const std::string& path) const;

   private:
    HKEY key_ = nullptr;
};

// Appends the names of the direct subkeys of key that can be opened for reading.
void listSubKeyNames(const RegistryKey& key, std::vector<std::string>& names);
