// Removal of the running program after it has ended; see SelfRemoval.h.
#include "acad/SelfRemoval.h"

#include <windows.h>

#include <cwchar>

#include "acad/Uninstallation.h"
#include "deploy/InstallFolders.h"
#include "deploy/LogTexts.h"
#include "deploy/ProductNames.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

std::wstring quoted(const std::string& path) { return L" \"" + widenFromSystemCodePage(path) + L"\""; }

// What the copy is started with: nothing of the running program's open handles but the one it
// waits on. Standard output and error are a deployment tool's pipe, which it reads until every
// holder has closed it: they are no longer passed on.
void keepStandardHandlesToItself() {
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE handle = GetStdHandle(which);
        if (handle && handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    }
}

// Deletes a file the way the copy must: the ended program's file may stay held for a moment.
void deleteWhenLetGo(const std::wstring& file) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return;
        Sleep(100);
    }
}

// Starts the copy with the running program's process handle, which it inherits, and the paths;
// 0 or the Windows error. Started in its own folder: a program's current folder cannot be
// removed, and the running program's may be the plug-in's.
unsigned long startCopy(const std::string& copy, const std::string& programFile,
                        const std::vector<std::string>& folders) {
    HANDLE duplicated = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &duplicated,
                         SYNCHRONIZE, TRUE, 0))
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

}  // namespace

std::string programRemovedAfterExit() {
    const std::string program = moduleFilePath();
    const std::vector<std::string> names = path::names(program, isSystemLeadByte);
    return !names.empty() && narrow::equalsIgnoreCase(names.back(), kUnattendedInstallerName) ? program
                                                                                              : std::string();
}

unsigned long removeAfterExit(const std::string& programFile, const std::vector<std::string>& folders) {
    char temporary[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length == 0 || length > MAX_PATH) return ERROR_PATH_NOT_FOUND;
    const std::string folder =
        path::join(temporary, "TorlenRemoval-" + std::to_string(GetCurrentProcessId()));
    const std::string copy = path::join(folder, kUnattendedInstallerName);
    if (unsigned long error = createProtectedFolder(folder)) return error;
    unsigned long error = ERROR_SUCCESS;
    if (!CopyFileW(widenFromSystemCodePage(programFile).c_str(), widenFromSystemCodePage(copy).c_str(), TRUE))
        error = GetLastError();
    if (error == ERROR_SUCCESS) error = startCopy(copy, programFile, folders);
    if (error != ERROR_SUCCESS) {
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    return error;
}

void removeProgramAfterExit(const std::string& programFile, UninstallOutcome& outcome, SetupLog& log) {
    // Only what uninstall meant to remove: the program is in a plug-in folder it removed from.
    const std::string folder = path::folderOf(programFile, isSystemLeadByte);
    bool inPluginFolder = false;
    for (const std::string& pluginFolder : outcome.pluginFolders)
        inPluginFolder = inPluginFolder || narrow::equalsIgnoreCase(pluginFolder, folder);
    // After failures the record stays for the next uninstallation, and the program with it.
    if (!inPluginFolder || !outcome.failures.empty()) return;
    if (unsigned long error = removeAfterExit(programFile, outcome.foldersLeft)) {
        outcome.failures.push_back({Failure::Action::Remove, programFile, error});
        log.failures(outcome.failures, outcome.failures.size() - 1);
        return;
    }
    log.line(logtexts::kRemovedAfterExit, programFile);
}

int finishRemovalAfterExit(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 3 || arguments[0] != kRemoveAfterExitSwitch) return ERROR_INVALID_PARAMETER;
    HANDLE program =
        reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(std::wcstoull(arguments[1].c_str(), nullptr, 10)));
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
