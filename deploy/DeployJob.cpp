// The deployment into the target folder; see DeployJob.h.
#include "deploy/DeployJob.h"

#include <shlobj.h>

#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallFolders.h"
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
    "路径 %s 太长，无法安装 !\n\nWindows 的文件夹路径须少于248个字符，文件路径须少于260个字符。"
    "请选择较短的安装路径，或将安装文件移到较短的路径下再执行SetUp.exe !";
const char* const kListingFailedFormat =
    "无法读取安装数据文件夹 %s 中的文件 !\n\n请检查该文件夹是否可以访问，然后再执行SetUp.exe !";
const char* const kNoUserFolderFormat = "无法确定用户的应用程序数据文件夹，文件 %s 无法安装 !";

void tellUser(const char* format, const std::string& path) {
    showMessageBox(CDialog::activeModalWindow(), narrow::format(format, path.c_str()), kSetupCaption, MB_OK);
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

// The parent of the per-user folder; empty when it cannot be determined.
std::string userAppDataFolder() {
    std::string appData;
    bool isSet = readAppData(appData);
    return chooseAppDataFolder(isSet, appData, shellAppDataFolder(), isSystemLeadByte);
}

}  // namespace

DeployJob::DeployJob(std::string targetFolder, CProgressCtrl& progressBar) : progressBar(progressBar) {
    assignFolderPath(this->targetFolder, std::move(targetFolder));
}

DeployJob::Readiness DeployJob::prepare() {
    preparedOnce = true;
    if (!findSetupDataFolder(dataFolder) || !listDataFolder())
        readiness = Readiness::SourceUnusable;
    else
        readiness = pathsFit() ? Readiness::Ready : Readiness::PathTooLong;
    return readiness;
}

// Every entry, however many there are; a folder that cannot be listed is not an empty one.
bool DeployJob::listDataFolder() {
    std::string pattern = dataFolder + "\\*.*";
    WIN32_FIND_DATAA found;
    FindHandle listing(fitsPathLimit(pattern, isSystemLeadByte) ? FindFirstFileA(pattern.c_str(), &found)
                                                                : INVALID_HANDLE_VALUE);
    if (!listing.valid()) {
        tellUser(kListingFailedFormat, dataFolder);
        return false;
    }
    entries.clear();
    do {
        entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(listing.get(), &found));
    return true;
}

// The narrow file functions fail on longer paths, after some files were copied and with a
// message that blames AutoCAD or the user's rights: every path is measured first.
bool DeployJob::pathsFit() {
    std::vector<PlannedPath> paths = {{folderOfPath(targetFolder, isSystemLeadByte), true},
                                      {targetFolder, true}};
    std::string appData = userAppDataFolder();
    for (const Entry& entry : entries) {
        EntryAction action = entryAction(entry.name, entry.isFolder);
        if (action == EntryAction::Skip) continue;
        paths.push_back({dataFolder + "\\" + entry.name, false});
        if (action == EntryAction::CopyToTarget) {
            paths.push_back({targetFolder + "\\" + entry.name, false});
        } else if (!appData.empty()) {
            paths.push_back({userSettingsFolder(appData), true});
            paths.push_back({userSettingsPath(appData, entry.name), false});
        }
    }
    std::string longest = longestOverlongPath(paths, isSystemLeadByte);
    if (longest.empty()) return true;
    tellUser(kPathTooLongFormat, longest);
    return false;
}

bool DeployJob::deployProductFiles() {
    if (!preparedOnce) prepare();
    if (readiness != Readiness::Ready) return false;
    createInstallFolders(targetFolder);
    // One step per entry, "." and ".." and skipped ones included, and one for the closing
    // pass that finds no further entry.
    for (const Entry& entry : entries) {
        progressBar.StepIt();
        if (!deployEntry(entry)) return false;
    }
    progressBar.StepIt();
    return true;
}

// One entry of the walk; false when the deployment must stop.
bool DeployJob::deployEntry(const Entry& entry) {
    EntryAction action = entryAction(entry.name, entry.isFolder);
    if (action == EntryAction::Skip) return true;
    std::string source = dataFolder + "\\" + entry.name;
    if (action == EntryAction::CopyToUserFolder) return copySettingsFile(source, entry.name);
    return copyProductFile(source, targetFolder + "\\" + entry.name);
}

// The settings file goes to the per-user folder (created on the way). When that folder
// cannot be determined, the file can be left out like any file that cannot be copied.
bool DeployJob::copySettingsFile(const std::string& source, const std::string& name) {
    for (;;) {
        std::string appData = userAppDataFolder();
        if (!appData.empty()) {
            CreateDirectoryA(userSettingsFolder(appData).c_str(), nullptr);
            return copyProductFile(source, userSettingsPath(appData, name));
        }
        int answer = askAboutCopy(narrow::format(kNoUserFolderFormat, name.c_str()));
        if (answer == IDABORT) return false;
        if (answer != IDRETRY) {
            ignored.push_back(name);
            return true;
        }
    }
}

bool DeployJob::copyProductFile(const std::string& source, const std::string& destination) {
    clearReadOnly(source);
    removeZoneIdentifier(source);  // before the copy, so the copy does not take the marker along
    while (!copyOver(source, destination)) {
        int answer = askAboutCopy(narrow::format(kCopyFailedFormat, destination.c_str()));
        if (answer == IDABORT) return false;
        if (answer != IDRETRY) {
            ignored.push_back(destination);
            break;
        }
    }
    clearReadOnly(destination);  // an old file left by Ignore is not left read-only either
    return true;
}

int DeployJob::askAboutCopy(const std::string& text) {
    return showMessageBox(CDialog::activeModalWindow(), text, kSetupCaption, MB_ABORTRETRYIGNORE);
}
