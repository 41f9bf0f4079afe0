// Removal of the running program after it has ended; see RemovalAfterExit.h.
#include "engine/RemovalAfterExit.h"

#include <windows.h>
// after windows.h
#include <ntsecapi.h>

#include <algorithm>
#include <cwchar>

#include "deploy/InstallFolders.h"
#include "framework/Handles.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

std::wstring quoted(const std::string& path) { return L" \"" + widenFromSystemCodePage(path) + L"\""; }

// A name nobody can guess before it exists: 128 random bits from the system's generator.
std::string unpredictableName() {
    unsigned char bytes[16] = {};
    RtlGenRandom(bytes, sizeof bytes);
    static const char digits[] = "0123456789abcdef";
    std::string name = "TorlenRemoval-";
    for (unsigned char byte : bytes) {
        name += digits[byte >> 4];
        name += digits[byte & 15];
    }
    return name;
}

// A folder made for the copy alone, in one call with its protection: a name another user made
// first (ERROR_ALREADY_EXISTS) is never used. 0 or the Windows error.
unsigned long makeOwnFolder(std::string& folder) {
    char temporary[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length == 0 || length > MAX_PATH) return ERROR_PATH_NOT_FOUND;
    for (int attempt = 0; attempt < 8; ++attempt) {
        folder = path::join(path::withoutTrailingSeparator(temporary, isSystemLeadByte), unpredictableName());
        unsigned long error = createProtectedFolder(folder);
        if (error != ERROR_ALREADY_EXISTS) return error;
    }
    return ERROR_ALREADY_EXISTS;
}

// What the copy is started with: nothing of the running program's open handles but the one it
// waits on. Standard output and error are a deployment tool's pipe, which it reads until every
// holder has closed it: they are no longer passed on.
void keepStandardHandlesToItself() {
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE handle = GetStdHandle(which);
        if (handle && handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    }
}

// Starts the copy with the running program's process handle, which it inherits, and the paths;
// 0 or the Windows error. Started in its own folder: a program's current folder cannot be
// removed, and the running program's may be the plug-in's.
unsigned long startCopy(const std::string& copy, const std::string& programFile,
                        const std::vector<std::string>& folders) {
    HANDLE duplicated = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &duplicated, SYNCHRONIZE,
                         TRUE, 0))
        return GetLastError();
    KernelHandle self(duplicated);
    std::wstring commandLine = quoted(copy).substr(1) + L" " + kRemoveAfterExitSwitch + L" " +
                               std::to_wstring(reinterpret_cast<ULONG_PTR>(self.get())) + quoted(programFile);
    for (const std::string& kept : folders) commandLine += quoted(kept);
    keepStandardHandlesToItself();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    const std::wstring folder = widenFromSystemCodePage(path::folderOf(copy, isSystemLeadByte));
    if (!CreateProcessW(widenFromSystemCodePage(copy).c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &started))
        return GetLastError();
    KernelHandle process(started.hProcess), thread(started.hThread);
    return ERROR_SUCCESS;
}

// Deletes a file the way the copy must: the ended program's file may stay held for a moment.
void deleteWhenLetGo(const std::wstring& file) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return;
        Sleep(100);
    }
}

}  // namespace

// The folders deepest first: a folder goes only once what it holds has gone.
RemovalAfterExitItem::RemovalAfterExitItem(std::string programFile, std::vector<std::string> folders)
    : programFile_(std::move(programFile)), folders_(std::move(folders)) {
    std::sort(folders_.begin(), folders_.end(),
              [](const std::string& one, const std::string& other) { return one.size() > other.size(); });
}

void RemovalAfterExitItem::commit() {
    std::string folder;
    if ((error_ = makeOwnFolder(folder)) != 0) return;
    const std::string copy = path::join(folder, path::names(programFile_, isSystemLeadByte).back());
    if (!CopyFileW(widenFromSystemCodePage(programFile_).c_str(), widenFromSystemCodePage(copy).c_str(), TRUE))
        error_ = GetLastError();
    if (error_ == 0) error_ = startCopy(copy, programFile_, folders_);
    if (error_ != 0) {
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

ItemRecord RemovalAfterExitItem::record() const { return {kinds::kRemovalAfterExit, programFile_, "", "", false, {}}; }

int finishRemovalAfterExit(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 3 || arguments[0] != kRemoveAfterExitSwitch) return ERROR_INVALID_PARAMETER;
    HANDLE program = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(std::wcstoull(arguments[1].c_str(), nullptr, 10)));
    WaitForSingleObject(program, 60000);
    CloseHandle(program);
    deleteWhenLetGo(arguments[2]);
    for (std::size_t i = 3; i < arguments.size(); ++i) RemoveDirectoryW(arguments[i].c_str());
    wchar_t self[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    std::wstring folder(self, length);
    folder.erase(folder.find_last_of(L'\\'));
    MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return 0;
}
