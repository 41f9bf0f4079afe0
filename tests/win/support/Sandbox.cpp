// Test fixtures; see Sandbox.h.
#include "Sandbox.h"

#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "engine/RunSteps.h"

namespace {
std::string uniqueName(const char* prefix) {
    static std::atomic<int> counter{0};
    char name[96];
    std::snprintf(name, sizeof name, "%s-%lu-%lu-%d", prefix, GetCurrentProcessId(), GetTickCount(),
                  ++counter);
    return name;
}

const char* const kScratchRoot = "Software\\TorlenTestScratch";
}  // namespace

// A test that went on without the redirection would change the machine's real AutoCAD keys:
// the program stops, saying why, rather than let it.
static void requireSandbox(bool working, const char* what) {
    if (working) return;
    std::fprintf(stderr, "RegistrySandbox: %s; stopping before the test touches the real registry\n", what);
    std::fflush(stderr);
    std::abort();
}

RegistrySandbox::RegistrySandbox() : scratchPath_(std::string(kScratchRoot) + "\\" + uniqueName("reg")) {
    requireSandbox(
        RegCreateKeyA(HKEY_CURRENT_USER, (scratchPath_ + "\\HKLM").c_str(), &machine_) == ERROR_SUCCESS &&
            RegCreateKeyA(HKEY_CURRENT_USER, (scratchPath_ + "\\HKCU").c_str(), &user_) == ERROR_SUCCESS,
        "the scratch keys cannot be created");
    requireSandbox(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_) == ERROR_SUCCESS &&
                       RegOverridePredefKey(HKEY_CURRENT_USER, user_) == ERROR_SUCCESS,
                   "the predefined keys cannot be redirected");
    // A key created through the redirected root must appear below the scratch key.
    HKEY probe = nullptr;
    requireSandbox(RegCreateKeyA(HKEY_LOCAL_MACHINE, "SandboxProbe", &probe) == ERROR_SUCCESS,
                   "no probe key");
    RegCloseKey(probe);
    requireSandbox(RegOpenKeyExA(machine_, "SandboxProbe", 0, KEY_READ, &probe) == ERROR_SUCCESS,
                   "HKEY_LOCAL_MACHINE is not redirected");
    RegCloseKey(probe);
    RegDeleteKeyA(machine_, "SandboxProbe");
}

RegistrySandbox::~RegistrySandbox() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(machine_);
    RegCloseKey(user_);
    regDeleteTree(HKEY_CURRENT_USER, scratchPath_);
}

bool isWow64Process() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

static HKEY createKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kStoredView, nullptr, &key, nullptr);
    return key;
}

static HKEY openKey(HKEY root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    return RegOpenKeyExA(root, path.c_str(), 0, access | kStoredView, &key) == ERROR_SUCCESS ? key : nullptr;
}

// RegDeleteTree opens the subkeys in the caller's view: a 32-bit caller would leave the
// 64-bit keys of the tree behind. Each level is opened and deleted in the stored view.
void regDeleteTree(HKEY root, const std::string& path) {
    for (const std::string& child : regSubKeyNames(root, path)) regDeleteTree(root, path + "\\" + child);
    RegDeleteKeyExA(root, path.c_str(), kStoredView, 0);
}

void regDeleteValue(HKEY root, const std::string& path, const std::string& name) {
    HKEY key = openKey(root, path, KEY_SET_VALUE);
    if (!key) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

static void setValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                     const void* data, DWORD size) {
    HKEY key = createKey(root, path);
    RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void regSetString(HKEY root, const std::string& path, const std::string& name, const std::string& value,
                  DWORD type) {
    setValue(root, path, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void regSetWide(HKEY root, const std::string& path, const std::string& name, const std::wstring& value,
                DWORD type) {
    HKEY key = createKey(root, path);
    std::wstring wideName(name.begin(), name.end());
    RegSetValueExW(key, wideName.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

bool regReadWide(HKEY root, const std::string& path, const std::string& name, std::wstring& text,
                 DWORD& type) {
    HKEY key = openKey(root, path, KEY_READ);
    if (!key) return false;
    std::wstring wideName(name.begin(), name.end());
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        status =
            RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        text = data.c_str();
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void regSetDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    setValue(root, path, name, REG_DWORD, &value, sizeof value);
}

void regSetBinary(HKEY root, const std::string& path, const std::string& name, const std::string& bytes) {
    setValue(root, path, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void regCreateKey(HKEY root, const std::string& path) { RegCloseKey(createKey(root, path)); }

bool regKeyExists(HKEY root, const std::string& path) {
    HKEY key = openKey(root, path, KEY_READ);
    if (!key) return false;
    RegCloseKey(key);
    return true;
}

bool regReadValue(HKEY root, const std::string& path, const std::string& name, std::string& bytes,
                  DWORD& type) {
    HKEY key = openKey(root, path, KEY_READ);
    if (!key) return false;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        status =
            RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The names RegEnumValueA or RegEnumKeyExA (same arguments up to the name's length) give.
using NameEnumerator = LONG(WINAPI*)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
static std::vector<std::string> enumerateNames(HKEY root, const std::string& path, NameEnumerator next) {
    std::vector<std::string> names;
    HKEY key = openKey(root, path, KEY_READ);
    if (!key) return names;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD length = sizeof name;
        if (next(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

std::vector<std::string> regValueNames(HKEY root, const std::string& path) {
    return enumerateNames(root, path, RegEnumValueA);
}

// RegEnumKeyExA's last argument is a FILETIME*, passed as null here.
static LONG WINAPI nextSubKey(HKEY key, DWORD index, LPSTR name, LPDWORD length, LPDWORD, LPDWORD, LPBYTE,
                              LPDWORD) {
    return RegEnumKeyExA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
}

std::vector<std::string> regSubKeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names = enumerateNames(root, path, nextSubKey);
    std::sort(names.begin(), names.end());
    return names;
}

TempFolder::TempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    path_ = std::string(base) + uniqueName("torlen-test");
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { removeTree(path_); }

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

static void writeTo(HANDLE file, const std::string& contents) {
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
}

static bool readFrom(HANDLE file, std::string& contents) {
    if (file == INVALID_HANDLE_VALUE) return false;
    contents.clear();
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) contents.append(buffer, got);
    CloseHandle(file);
    return true;
}

void writeFile(const std::string& path, const std::string& contents) {
    writeTo(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
        contents);
}

void writeFile(const std::wstring& path, const std::string& contents) {
    writeTo(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
        contents);
}

bool readFile(const std::string& path, std::string& contents) {
    return readFrom(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
        contents);
}

bool readFile(const std::wstring& path, std::string& contents) {
    return readFrom(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
        contents);
}

bool fileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

static void appendHex(const std::string& bytes, std::string& text) {
    for (unsigned char byte : bytes)
        text += "0123456789abcdef"[byte >> 4], text += "0123456789abcdef"[byte & 15];
}

// Names and data read as UTF-16, however long (the narrow functions would turn characters outside
// the code page into '?'); names shown as UTF-8, data in hexadecimal.
static void exportKey(HKEY root, const std::string& path, std::string& text) {
    HKEY key = openKey(root, path, KEY_READ);
    if (!key) return;
    text += "[" + path + "]\n";
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                     &longestData, nullptr, nullptr);
    std::wstring name(longestName + 1, L'\0');
    std::string data(longestData + 1, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = longestName + 1, size = longestData + 1, type = REG_NONE;
        if (RegEnumValueW(key, index, &name[0], &length, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                          &size) != ERROR_SUCCESS)
            continue;
        std::string utf8(length * 3 + 1, '\0');
        utf8.resize(WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(length), &utf8[0],
                                        static_cast<int>(utf8.size()), nullptr, nullptr));
        text += utf8 + " (" + std::to_string(type) + ") ";
        appendHex(data.substr(0, size), text);
        text += "\n";
    }
    RegCloseKey(key);
    for (const std::string& child : regSubKeyNames(root, path))
        exportKey(root, path.empty() ? child : path + "\\" + child, text);
}

std::string registryExport(HKEY root, const std::string& path) {
    std::string text;
    exportKey(root, path, text);
    return text;
}

std::string folderExport(const std::string& folder) {
    std::string text;
    for (const std::string& name : folderEntries(folder)) {
        const std::string path = folder + "\\" + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        text += path + " " +
                std::to_string(attributes &
                               (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        std::string contents;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            text += "\\\n" + folderExport(path);
        } else {
            text += readFile(path, contents) ? ": " + contents + "\n" : ": <unreadable>\n";
        }
    }
    return text;
}

FailureLog applyAll(Journal& journal, WorkItems items) {
    Steps steps;
    appendSteps(steps, std::move(items));
    RecordingObserver ignoring;
    SetupLog log;
    return applySteps(journal, steps, ignoring, log).goneOnWithout;
}

std::vector<std::string> subjectsOf(const FailureLog& failures) {
    std::vector<std::string> subjects;
    for (const Failure& failure : failures) subjects.push_back(failure.subject);
    return subjects;
}

FailureAnswer RecordingObserver::failed(const Failure& failure, FailureAnswer recommended) {
    asked.push_back(failure);
    recommendations.push_back(recommended);
    if (hook_) hook_(static_cast<int>(asked.size()) - 1, hookContext_);
    if (answers_.empty()) return FailureAnswer::Ignore;
    FailureAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

bool setFolderSecurity(const std::string& path, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    BOOL set = SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                descriptor);
    LocalFree(descriptor);
    return set != FALSE;
}

std::string securityOf(const std::string& path) {
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), what, nullptr, 0, &size);
    std::string descriptor(size, '\0');
    char* text = nullptr;
    if (size == 0 || !GetFileSecurityA(path.c_str(), what, &descriptor[0], size, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(&descriptor[0], SDDL_REVISION_1, what, &text,
                                                              nullptr))
        return "<unreadable>";
    std::string sddl = text;
    LocalFree(text);
    return sddl;
}

bool setKeySecurity(HKEY root, const std::string& path, const char* sddl) {
    regCreateKey(root, path);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC | kStoredView, &key);
    if (status == ERROR_SUCCESS) {
        status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    return status == ERROR_SUCCESS;
}
