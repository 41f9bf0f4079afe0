// The engine's words; see LogTexts.h.
#include "journal/LogTexts.h"

#include "framework/BuildConstants.h"
#include "framework/Files.h"
#include "framework/WideText.h"

namespace logtexts {

const wchar_t* const kCopyingFiles = L"复制插件文件";
const wchar_t* const kStoppedAndUndone = L"安装中止，本次安装所做的更改已全部撤销，计算机恢复到安装前的状态";
const wchar_t* const kUndoingRunCutOff = L"上次运行中途被中断，先撤销它所做的更改";
const wchar_t* const kHeldForPackage = L"安装已完成，等待 Windows Installer 程序包提交或回滚";
const wchar_t* const kPackageRunCommitted = L"Windows Installer 程序包已提交安装";
const wchar_t* const kNothingChanged = L"未做任何更改";
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
const wchar_t* const kUserWithoutRegistry =
    L"该用户的配置文件中没有注册表文件（从未登录过），没有需要删除的内容";
const wchar_t* const kUserRegistryNotUnloaded = L"该用户的注册表在处理后未能卸下";
const wchar_t* const kUserLeftForLogon = L"该用户的部分未能全部删除，将在其下次登录时删除";
const wchar_t* const kUserItemRefused =
    L"用户自己的安装记录中的这一项不属于该用户的注册表或配置文件夹，未做处理";
const wchar_t* const kRemovedAfterExit = L"程序退出后删除";
const wchar_t* const kLogonStepStays =
    L"为以上用户保留登录步骤，在其下次登录时删除；之后再运行一次卸载即可全部删除";
const wchar_t* const kAnotherInstaller = L"另一个安装程序（SetUp.exe 或 SetUpCmd.exe）正在运行";

std::wstring editionWords() { return L"（" + decimalText(platformBits) + L" 位版本）"; }

std::wstring releaseSkipped(int year) {
    return L"未找到 AutoCAD " + decimalText(static_cast<unsigned long>(year)) + L"，跳过";
}

std::wstring installedFor(int year) {
    return L"已安装到 AutoCAD " + decimalText(static_cast<unsigned long>(year));
}

std::wstring runEnded(std::size_t failures) {
    return failures == 0 ? L"安装结束，全部完成"
                         : L"安装结束，有 " + decimalText(failures) + L" 项未能完成（见上）";
}

std::wstring failureWords(const Failure& failure) {
    switch (failure.action) {
        case Failure::Action::None:
            break;
        case Failure::Action::Copy:
            return L"未能复制文件（已跳过）";
        case Failure::Action::CopyToAcadFolder:
            return L"未能复制到 AutoCAD 安装目录";
        case Failure::Action::FindUserFolder:
            return L"无法确定用户的应用程序数据文件夹，未能安装";
        case Failure::Action::KeepOriginal:
            return L"未能保留或恢复 AutoCAD 原来的文件";
        case Failure::Action::MakeFolder:
            return L"未能创建文件夹";
        case Failure::Action::ProtectFolder:
            return L"无法设置文件夹的访问权限（只允许管理员更改）";
        case Failure::Action::OpenKey:
            return L"未能打开注册表项";
        case Failure::Action::WriteKey:
            return L"未能写入注册表项";
        case Failure::Action::EditList:
            return L"未能修改受信任位置";
        case Failure::Action::Remove:
            return L"未能删除";
        case Failure::Action::KeepChanged:
            return L"文件在安装后已被修改，已保留";
        case Failure::Action::ProgramsEntry:
            return L"未能添加到“程序和功能”";
        case Failure::Action::LogonRegistration:
            return L"未能为每个用户注册登录步骤";
        case Failure::Action::Restore:
            return L"未能恢复安装前的原样";
        case Failure::Action::Refused:
            return kUserItemRefused;
    }
    return L"";
}

std::wstring refusalWords(const Refusal& refusal) {
    switch (refusal.reason) {
        case Refusal::Reason::AcadRunning:
            return L"AutoCAD 正在运行，请关闭 AutoCAD 后再运行；未做任何更改";
        case Refusal::Reason::AnotherInstaller:
            return std::wstring(kAnotherInstaller) + L"，" + kNothingChanged;
        case Refusal::Reason::FolderEmpty:
            return L"安装路径为空";
        case Refusal::Reason::FolderInvalid:
            return L"安装路径无效，须是完整路径（如 C:\\Torlen），且不能含有 \\ / : * ? \" < > | 等字符，"
                   L"也不能含有系统代码页无法表示的字符";
        case Refusal::Reason::FolderListSeparator:
            return L"安装路径中不能有分号（;），AutoCAD 的受信任位置以分号分隔";
        case Refusal::Reason::NothingToInstall:
            return L"未找到可安装的 AutoCAD" + editionWords() + L"，" + kNothingChanged;
        case Refusal::Reason::DataFolderMissing:
            return L"未找到安装所需的 Data 文件夹";
        case Refusal::Reason::DataFolderUnreadable:
            return L"无法读取安装数据文件夹";
        case Refusal::Reason::PathTooLong:
            return L"路径太长，Windows 无法处理";
        case Refusal::Reason::RightsMissing:
            return L"权限不足，请以管理员身份运行；未做任何更改";
        case Refusal::Reason::ChosenFolderUnsafe:
            return L"安装路径已存在，且管理员以外的用户可以重命名、删除或接管它（AutoCAD "
                   L"将从这里为每个用户加载插件）；"
                   L"未做任何更改。请选择其他路径，或让安装程序把它设为只有管理员可以更改";
        case Refusal::Reason::ChosenFolderNotProtectable:
            return L"安装路径不能设为只有管理员可以更改（驱动器根目录、系统文件夹、用户的配置文件夹，或其中已"
                   L"有其他内容）；"
                   L"未做任何更改。请在其中新建一个空文件夹作为安装路径";
        case Refusal::Reason::UnsafeAncestor:
            return L"安装路径上的这个文件夹，管理员以外的用户可以重命名、删除或更改它；未做任何更改";
        case Refusal::Reason::FolderUnprotected:
            return L"无法设置插件目录的访问权限（只允许管理员更改），安装中止";
        case Refusal::Reason::ReparsePoint:
            return L"安装目录是指向其他位置的链接（连接点或符号链接）；未做任何更改";
        case Refusal::Reason::HeldFile:
            return L"文件被其他程序占用，安装中止";
        case Refusal::Reason::Aborted:
            return L"按您的选择中止安装";
        case Refusal::Reason::OtherEditionsFolder:
            return L"另一个版本（32 位或 64 "
                   L"位）的批打印软件已安装在这个目录；未做任何更改。请选择其他安装路径";
        case Refusal::Reason::InstalledElsewhere:
            return L"批打印软件已安装在另一个目录，程序包只能在原目录中接管它；未做任何更改。请用 FOLDER "
                   L"指定该目录，或先卸载原来的安装";
        case Refusal::Reason::OwnedByNewerPackage:
            return L"安装现由另一个 Windows Installer 程序包管理，此次卸载不做改动";
        case Refusal::Reason::NothingPending:
            return L"没有等待提交或回滚的安装";
    }
    return L"";
}

std::wstring answeredWords(const Failure& failure, FailureAnswer answer) {
    switch (answer) {
        case FailureAnswer::Retry:
            return isHeldByAnotherProgram(failure.error) ? L"文件被占用，稍后重试" : L"失败，重试";
        case FailureAnswer::Abort:
            if (failure.action == Failure::Action::Copy ||
                failure.action == Failure::Action::CopyToAcadFolder)
                return L"复制失败，安装中止";
            return failureWords(failure) + L"，安装中止";
        case FailureAnswer::Ignore:
            break;
    }
    return failureWords(failure);
}

}  // namespace logtexts
