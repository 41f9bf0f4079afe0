// The engine's words; see LogTexts.h.
#include "deploy/LogTexts.h"

#include "framework/BuildConstants.h"
#include "framework/WideText.h"

namespace logtexts {

const wchar_t* const kCopyingFiles = L"复制插件文件";
const wchar_t* const kStoppedUnregistered = L"安装中止，插件未注册到 AutoCAD";
const wchar_t* const kStoppedInconsistent =
    L"安装中途停止：原有的安装已被部分更新，现在不完整（新旧文件混合），请排除问题后重新安装";
const wchar_t* const kNothingChanged = L"未做任何更改";
const wchar_t* const kUndoingRun = L"安装中途停止，撤销本次安装已做的更改";
const wchar_t* const kLogonRegistered = L"已注册 Active Setup，每个用户下次登录时完成受信任位置和设置文件";
const wchar_t* const kUserStepDone = L"当前用户的受信任位置和设置文件已完成";
const wchar_t* const kNoRegistrationFound = L"未找到插件的注册表项";
const wchar_t* const kPluginFolder = L"插件目录";
const wchar_t* const kOthersKeyLeft = L"注册表项指向的目录不是本插件的目录，未改动";
const wchar_t* const kRemovedOrRestored = L"已删除或恢复";
const wchar_t* const kUserStepAgainAtLogon =
    L"当前用户的受信任位置或设置文件尚未完成（尚无 AutoCAD 配置，或有失败），下次登录时再做";
const wchar_t* const kSystemAccountSkipped =
    L"以 SYSTEM 帐户运行：该帐户不使用 AutoCAD，跳过它自己的受信任位置和设置文件";
const wchar_t* const kInstalledElsewhere = L"插件已安装在另一个目录，此目录的登录步骤不再运行";
const wchar_t* const kUserPartRemoving = L"插件已卸载，删除当前用户的受信任位置和设置文件";
const wchar_t* const kUserSettingsKept = L"用户的设置文件在安装后已被修改，已保留";
const wchar_t* const kUsersRegistry = L"用户的注册表";
const wchar_t* const kUserNotReached = L"无法打开该用户的注册表，将在其下次登录时删除";
const wchar_t* const kUserLeftForLogon = L"该用户的部分未能全部删除，将在其下次登录时删除";
const wchar_t* const kRemovedAfterExit = L"程序退出后删除";
const wchar_t* const kLogonStepStays =
    L"为以上用户保留登录步骤，在其下次登录时删除；之后再运行一次卸载即可全部删除";
const wchar_t* const kAnotherInstaller = L"另一个安装程序（SetUp.exe 或 SetUpCmd.exe）正在运行";

std::wstring editionWords() { return L"（" + decimalText(platformBits) + L" 位版本）"; }

std::wstring installedFor(int year) {
    return L"已安装到 AutoCAD " + decimalText(static_cast<unsigned long>(year));
}

std::wstring runEnded(std::size_t failures) {
    return failures == 0 ? L"安装结束，全部完成"
                         : L"安装结束，有 " + decimalText(failures) + L" 项未能完成（见上）";
}

std::wstring failureWords(const Failure& failure) {
    switch (failure.action) {
        case Failure::Action::Copy:
            return L"未能复制文件（已跳过）";
        case Failure::Action::CopyToAcadFolder:
            return L"未能复制到 AutoCAD 安装目录";
        case Failure::Action::FindUserFolder:
            return L"无法确定用户的应用程序数据文件夹，未能安装";
        case Failure::Action::KeepOriginal:
            return L"未能保留或恢复 AutoCAD 原来的文件";
        case Failure::Action::OpenKey:
            return L"未能打开注册表项";
        case Failure::Action::WriteKey:
            return L"未能写入注册表项";
        case Failure::Action::EditList:
            return L"未能修改受信任位置";
        case Failure::Action::Remove:
            return L"未能删除文件";
        case Failure::Action::KeepChanged:
            return L"文件在安装后已被修改，已保留";
        case Failure::Action::ProgramsEntry:
            return L"未能添加到“程序和功能”";
    }
    return L"";
}

std::wstring refusalWords(const Refusal& refusal) {
    switch (refusal.reason) {
        case Refusal::Reason::DataFolderMissing:
            return L"未找到安装所需的 Data 文件夹";
        case Refusal::Reason::DataFolderUnreadable:
            return L"无法读取安装数据文件夹";
        case Refusal::Reason::PathTooLong:
            return L"路径太长，Windows 无法处理";
        case Refusal::Reason::FolderUnprotected:
            return L"无法设置插件目录的访问权限（只允许管理员更改），安装中止";
        case Refusal::Reason::ReparsePoint:
            return L"安装目录是指向其他位置的链接（连接点或符号链接），安装中止";
    }
    return L"";
}

std::wstring answeredWords(const Failure& failure, InstallObserver::CopyAnswer answer) {
    switch (answer) {
        case InstallObserver::CopyAnswer::Retry:
            return isHeldByAnotherProgram(failure.error) ? L"文件被占用，稍后重试" : L"复制失败，重试";
        case InstallObserver::CopyAnswer::Abort:
            return L"复制失败，安装中止";
        case InstallObserver::CopyAnswer::Ignore:
            break;
    }
    return failureWords(failure);
}

}  // namespace logtexts
