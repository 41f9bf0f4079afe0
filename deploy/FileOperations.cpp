// File operations; see FileOperations.h.
#include "deploy/FileOperations.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/InstallObserver.h"
#include "framework/DllSearch.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/Paths.h"
#include "framework/ShellFolders.h"
#include "framework/SystemCodePage.h"

void clearReadOnly(std::string path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return;
    SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

PathKind probePath(std::string path) {
    WIN32_FIND_DATAA match;
    FindHandle search(FindFirstFileA(path.c_str(), &match));
    if (!search.valid()) return PathMissing;
    return (match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathIsFolder : PathIsFile;
}

bool removeZoneIdentifier(std::string filePath) {
    // On NTFS this names the file's alternate data stream; deleting it leaves the file's
    // contents and attributes alone.
    return DeleteFileA((filePath + ":Zone.Identifier").c_str()) != FALSE;
}

bool findSetupDataFolder(std::string& folder) {
    // No backslash means no usable executable path (the path seam gives an empty one when
    // it did not fit): probing "\Data" at the root of the current drive would be wrong.
    std::string executableFolder = path::folderOf(moduleFilePath(), isSystemLeadByte);
    if (executableFolder.empty()) return false;
    if (probePath(path::join(executableFolder, kDataFolderName)) == PathIsFolder) {
        folder = path::join(executableFolder, kDataFolderName);
        return true;
    }
    if (probePath(path::join(executableFolder, kDataFolderMarker)) == PathIsFile) {
        folder = executableFolder;
        return true;
    }
    return false;
}

bool locateSetupDataFolder(const std::string& named, std::string& folder) {
    if (named.empty()) return findSetupDataFolder(folder);
    folder = path::withoutTrailingSeparator(named, isSystemLeadByte);
    return probePath(folder) == PathIsFolder;
}

unsigned long copyOver(const std::string& source, const std::string& destination) {
    const DWORD blocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    DWORD attributes = GetFileAttributesA(destination.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & blocking))
        SetFileAttributesA(destination.c_str(), attributes & ~blocking);
    if (!CopyFileA(source.c_str(), destination.c_str(), FALSE)) return GetLastError();
    clearReadOnly(destination);
    removeZoneIdentifier(destination);
    return ERROR_SUCCESS;
}

namespace {
// "APPDATA" as set, or the fact that it is not set.
bool readAppData(std::string& value) {
    DWORD size = GetEnvironmentVariableA("APPDATA", nullptr, 0);
    if (size == 0) return false;
    std::string buffer(size, '\0');
    DWORD length = GetEnvironmentVariableA("APPDATA", &buffer[0], size);
    if (length == 0 || length >= size) return false;
    value.assign(buffer.data(), length);
    return true;
}
}  // namespace

std::string userAppDataFolder() {
    std::string appData;
    bool isSet = readAppData(appData);
    return chooseAppDataFolder(isSet, appData, roamingAppDataFolder(), isSystemLeadByte);
}

namespace {
bool readWhole(const std::string& path, std::string& contents) {
    KernelHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return false;
    char buffer[65536];
    DWORD got = 0;
    contents.clear();
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        contents.append(buffer, got);
    return true;
}
}  // namespace

unsigned long openForCopyError(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    const DWORD madeWritable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;  // as CopyFile onto it
    if (attributes & madeWritable) return ERROR_SUCCESS;
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return file.valid() ? ERROR_SUCCESS : GetLastError();
}

unsigned long long fileVersionOf(const std::string& path) {
    // version.dll is not imported: like every library the loader would look for beside the
    // program first, it is taken from the system folder when first needed.
    using InfoSize = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using Info = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using Query = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    static auto infoSize = systemExport<InfoSize>("version.dll", "GetFileVersionInfoSizeA");
    static auto info = systemExport<Info>("version.dll", "GetFileVersionInfoA");
    static auto query = systemExport<Query>("version.dll", "VerQueryValueA");
    DWORD handle = 0;
    DWORD size = infoSize && info && query ? infoSize(path.c_str(), &handle) : 0;
    if (size == 0) return 0;
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!info(path.c_str(), 0, size, &data[0]) ||
        !query(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed)
        return 0;
    return (static_cast<unsigned long long>(fixed->dwFileVersionMS) << 32) | fixed->dwFileVersionLS;
}

bool sameContents(const std::string& onePath, const std::string& otherPath) {
    std::string one, other;
    return readWhole(onePath, one) && readWhole(otherPath, other) && one == other;
}

void assignFolderPath(std::string& target, std::string folder) {
    target = path::withoutTrailingSeparator(std::move(folder), isSystemLeadByte);
}

bool isHeldByAnotherProgram(unsigned long error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}
