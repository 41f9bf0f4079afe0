// The setup data folder and the user's folders; see DataFolder.h.
#include "deploy/DataFolder.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "framework/Files.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/Paths.h"
#include "framework/ShellFolders.h"
#include "framework/SystemCodePage.h"

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

unsigned long listDataFolder(const std::string& folder, std::vector<DataEntry>& entries) {
    std::string pattern = path::join(folder, "*.*");
    WIN32_FIND_DATAA found;
    FindHandle listing(path::fitsLimit(pattern, isSystemLeadByte) ? FindFirstFileA(pattern.c_str(), &found)
                                                                  : INVALID_HANDLE_VALUE);
    if (!listing.valid())
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    entries.clear();
    do {
        entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(listing.get(), &found));
    DWORD error = GetLastError();
    return error == ERROR_NO_MORE_FILES ? ERROR_SUCCESS : error;
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

std::wstring userLogPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    return std::wstring(folder, length) + widenFromSystemCodePage(kSetupLogName);
}

void assignFolderPath(std::string& target, std::string folder) {
    target = path::withoutTrailingSeparator(std::move(folder), isSystemLeadByte);
}
