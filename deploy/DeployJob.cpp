// The deployment into the target folder; see DeployJob.h.
#include "deploy/DeployJob.h"

#include <direct.h>
#include <shlobj.h>
#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/NarrowString.h"
#include "framework/ShellLibrary.h"
#include "framework/SystemCodePage.h"

namespace {

const char* const kCopyFailedFormat =
    "拷贝文件 %s 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";
const char* const kPathTooLongFormat =
    "路径 %s 超过259个字符，无法安装 !\n\n请选择较短的安装路径后再执行SetUp.exe !";
const char* const kNoUserFolderFormat = "无法确定用户的应用程序数据文件夹，文件 %s 无法安装 !";

void tellUser(const char* format, const std::string& path) {
    showMessageBox(CDialog::activeModalWindow(), narrow::format(format, path.c_str()), kSetupCaption, MB_OK);
}

// The narrow file functions fail on longer paths (and the copy-failure message would then
// blame AutoCAD or the user's rights): such a path is refused, naming what is too long.
bool fitsOrTell(const std::string& path, const std::string& shownPath) {
    if (fitsPathLimit(path, isSystemLeadByte)) return true;
    tellUser(kPathTooLongFormat, shownPath);
    return false;
}

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

std::string shellAppDataFolder() {
    char folder[MAX_PATH] = {};
    if (FAILED(shell::folderPath(CSIDL_APPDATA, folder))) return {};
    return folder;
}

}  // namespace

DeployJob::DeployJob(std::string targetFolder, CProgressCtrl& progressBar) : progressBar(progressBar) {
    assignFolderPath(this->targetFolder, std::move(targetFolder));
}

bool DeployJob::deployProductFiles() {
    std::string dataFolder;
    if (!findSetupDataFolder(dataFolder)) return false;
    std::string pattern = dataFolder + "\\*.*";
    if (!fitsOrTell(pattern, dataFolder) || !fitsOrTell(targetFolder, targetFolder)) return false;
    // A single level: a missing parent makes every copy fail, and each failure is asked about.
    _mkdir(targetFolder.c_str());
    WIN32_FIND_DATAA entry;
    FindHandle listing(FindFirstFileA(pattern.c_str(), &entry));
    if (!listing.valid()) return true;

    // Every pass steps the bar first, so "." and ".." and the closing pass that finds no
    // further entry count too. Every entry is walked, however many there are.
    for (int pass = 0;; ++pass) {
        progressBar.StepIt();
        if (pass > 0 && !FindNextFileA(listing.get(), &entry)) return true;
        if (!deployEntry(dataFolder, entry)) return false;
    }
}

// One entry of the walk; false when the deployment must stop.
bool DeployJob::deployEntry(const std::string& dataFolder, const WIN32_FIND_DATAA& entry) {
    std::string name = entry.cFileName;
    bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (entryAction(name, isFolder) == EntryAction::Skip) return true;
    std::string source = dataFolder + "\\" + name;
    std::string destination;
    if (!fitsOrTell(source, source) || !destinationFor(name, destination)) return false;
    return copyProductFile(source, destination);
}

// The target folder or, for the settings file, the per-user folder (created on the way).
// False when the path cannot be handled; the user has been told.
bool DeployJob::destinationFor(const std::string& name, std::string& destination) {
    if (isSettingsFileName(name)) {
        std::string appData = userAppDataFolder();
        if (appData.empty()) {
            tellUser(kNoUserFolderFormat, name);
            return false;
        }
        CreateDirectoryA(userSettingsFolder(appData).c_str(), nullptr);
        destination = userSettingsPath(appData, name);
    } else {
        destination = targetFolder + "\\" + name;
    }
    return fitsOrTell(destination, destination);
}

std::string DeployJob::userAppDataFolder() {
    std::string appData;
    bool isSet = readAppData(appData);
    return chooseAppDataFolder(isSet, appData, shellAppDataFolder(), isSystemLeadByte);
}

bool DeployJob::copyProductFile(const std::string& source, const std::string& destination) {
    clearReadOnly(source);
    removeZoneIdentifier(source);  // before the copy, so the copy does not take the marker along
    clearReadOnly(destination);
    while (!CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
        int answer = showMessageBox(CDialog::activeModalWindow(),
                                    narrow::format(kCopyFailedFormat, destination.c_str()), kSetupCaption,
                                    MB_ABORTRETRYIGNORE);
        if (answer == IDABORT) return false;
        if (answer != IDRETRY) break;
    }
    clearReadOnly(destination);
    return true;
}
