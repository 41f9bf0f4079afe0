// The installer's texts; see Texts.h.
#include "ui/Texts.h"

#include <windows.h>

#include "framework/Files.h"
#include "framework/SystemCodePage.h"
#include "framework/VersionRules.h"
#include "framework/WideText.h"

namespace texts {

namespace {

std::wstring shown(const std::string& systemText) { return widenFromSystemCodePage(systemText); }

bool isAccessDenied(unsigned long error) { return error == ERROR_ACCESS_DENIED; }

// Why one thing failed, in words: the two causes the user can remove, or the error named.
std::wstring cause(const Failure& failure) {
    std::wstring why = isAccessDenied(failure.error)           ? L"拒绝访问"
                       : isHeldByAnotherProgram(failure.error) ? L"文件正在使用"
                                                               : windowsErrorText(failure.error);
    if (failure.action == Failure::Action::KeepOriginal) return L"未能保留原文件，" + why;
    if (failure.action == Failure::Action::FindUserFolder) return L"无法确定用户的应用程序数据文件夹";
    return why;
}

// A long list would not fit on the screen: the first entries are named, the rest counted.
const size_t kListedEntries = 8;

std::wstring section(const wchar_t* heading, const FailureLog& failures, bool (*belongs)(const Failure&)) {
    std::wstring text;
    size_t count = 0;
    for (const Failure& failure : failures) {
        if (!belongs(failure)) continue;
        if (++count <= kListedEntries)
            text += L"    " + shown(failure.subject) + L"（" + cause(failure) + L"）\n";
    }
    if (count == 0) return text;
    if (count > kListedEntries) text += L"    ……等共 " + decimalText(count) + L" 项\n";
    return std::wstring(heading) + L"\n" + text + L"\n";
}

bool isLeftOut(const Failure& f) {
    return f.action == Failure::Action::Copy || f.action == Failure::Action::FindUserFolder;
}
// What the plug-in needs to be loaded by AutoCAD; the entry in Programs and Features is not.
bool isAuxiliary(const Failure& f) { return f.action == Failure::Action::ProgramsEntry; }
bool isRegistry(const Failure& f) {
    return f.action == Failure::Action::OpenKey || f.action == Failure::Action::WriteKey ||
           f.action == Failure::Action::EditList;
}

}  // namespace

const wchar_t* const kSetupCaption = L"T-软件安装";
const wchar_t* const kCloseAutoCad = L"请关闭AutoCAD后再进行安装 !";
const wchar_t* const kEmptyPath = L"安装路径无效，请输入或选择安装路径 !";
const wchar_t* const kPickerPrompt = L"请选择安装目录：";

std::wstring titleCaption(int buildVersion) { return L"批打印软件 " + shown(versionText(buildVersion)); }

std::wstring platformCaption(int platformBits) {
    return L"( " + decimalText(platformBits) + L"位 AutoCAD版 )";
}

std::wstring invalidPath(const std::string& field) {
    return L"安装路径 " + shown(field) +
           L" 无效 !\n\n请输入完整的文件夹路径（以盘符开头，例如 "
           L"C:\\Torlen）；文件夹名不能以空格或句点开头或结尾，"
           L"也不能含有 \\ / : * ? \" < > | 等字符。";
}

std::wstring listSeparatorInPath(const std::string& field) {
    return L"安装路径 " + shown(field) +
           L" 含有分号（;）!\n\nAutoCAD "
           L"的受信任位置以分号分隔，无法信任这样的文件夹，请选择不含分号的安装路径。";
}

std::wstring refusal(const Refusal& refusal) {
    switch (refusal.reason) {
        case Refusal::Reason::DataFolderMissing:
            return L"未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe "
                   L"!";
        case Refusal::Reason::DataFolderUnreadable:
            return L"无法读取安装数据文件夹 " + shown(refusal.subject) +
                   L" 中的文件 !\n\n请检查该文件夹是否可以访问，然后再执行SetUp.exe !";
        case Refusal::Reason::PathTooLong:
            return L"路径 " + shown(refusal.subject) +
                   L" 太长，无法安装 !\n\nWindows 的文件夹路径须少于248个字符，文件路径须少于260个字符。"
                   L"请选择较短的安装路径，或将安装文件移到较短的路径下再执行SetUp.exe !";
        case Refusal::Reason::FolderUnprotected:
            return L"无法设置安装目录 " + shown(refusal.subject) + L" 的访问权限（" +
                   windowsErrorText(refusal.error) +
                   L"）!\n\nAutoCAD 从这里加载批打印软件，只有管理员才应能更改其中的文件。安装已停止，"
                   L"没有复制任何文件。请以管理员身份运行SetUp.exe，或选择其他安装路径 !";
        case Refusal::Reason::ReparsePoint:
            return L"安装目录 " + shown(refusal.subject) +
                   L" 是指向其他位置的链接（连接点或符号链接）!\n\n安装已停止，没有复制任何文件。"
                   L"请选择其他安装路径 !";
        case Refusal::Reason::FolderEmpty:
            return kEmptyPath;
        case Refusal::Reason::FolderInvalid:
            return invalidPath(refusal.subject);
        case Refusal::Reason::FolderListSeparator:
            return listSeparatorInPath(refusal.subject);
        case Refusal::Reason::AnotherInstaller:
            return kAnotherInstaller;
        case Refusal::Reason::NothingToInstall:
            return L"没有找到所选的 AutoCAD，没有安装任何内容 !";
        case Refusal::Reason::ChosenFolderNotProtectable:
            return L"安装路径 " + shown(refusal.subject) +
                   L" 不能设为只有管理员可以更改（它是驱动器的根目录、系统文件夹或用户的配置文件夹，"
                   L"或其中已有其他内容）!\n\n没有做任何更改。请在其中新建一个空文件夹，选它作为安装路径。";
        case Refusal::Reason::UnsafeAncestor:
            return L"安装路径上的文件夹 " + shown(refusal.subject) +
                   L" 管理员以外的用户也可以重命名、删除或更改 !\n\nAutoCAD "
                   L"将从这里为每个用户加载批打印软件。"
                   L"没有做任何更改，请选择其他安装路径。";
        case Refusal::Reason::OtherEditionsFolder:
            return L"另一个版本（32 位或 64 位）的批打印软件已安装在 " + shown(refusal.subject) +
                   L" !\n\n没有做任何更改，请选择其他安装路径。";
        default:
            // Said otherwise (the running-AutoCAD warning, the rights, a question answered No),
            // or not a dialog's refusal.
            break;
    }
    return std::wstring();
}

const wchar_t* const kAnotherInstaller =
    L"另一个安装程序正在运行 !\n\n请等 SetUp.exe 或 SetUpCmd.exe 结束后再进行安装。没有做任何更改。";

std::wstring elevationDeclined(const std::string& unwritable) {
    return L"安装需要管理员权限，才能写入\n\n    " + shown(unwritable) +
           L"\n\n您没有允许 SetUp.exe 以管理员身份运行，因此没有安装任何内容。如需安装，请再次点击“安  装”，"
           L"并在 Windows 询问时选择“是”。";
}

std::wstring restartFailed(const std::string& unwritable, unsigned long error) {
    return L"安装需要管理员权限，才能写入\n\n    " + shown(unwritable) +
           L"\n\n但 SetUp.exe 无法以管理员身份重新启动（" + windowsErrorText(error) +
           L"），因此没有安装任何内容。请右键单击 SetUp.exe，选择“以管理员身份运行”。";
}

std::wstring withoutRights(const std::string& unwritable, unsigned long error) {
    return L"无法写入\n\n    " + shown(unwritable) + L"\n\n（" + windowsErrorText(error) +
           L"）\n\nSetUp.exe 已以管理员身份运行，仍没有写入它的权限，因此没有做任何更改。"
           L"请让管理员检查它的访问权限，然后重新安装。";
}

std::wstring logAnotherInstaller() {
    return std::wstring(logtexts::kAnotherInstaller) + L"，" + logtexts::kNothingChanged;
}
const wchar_t* const kLogNoRights = L"权限不足";
const wchar_t* const kLogRestartedElevated = L"以管理员身份重新启动 SetUp.exe";
const wchar_t* const kLogElevationDeclined = L"未获允许以管理员身份运行，未做任何更改";
const wchar_t* const kLogRestartFailed = L"无法以管理员身份重新启动，未做任何更改";
const wchar_t* const kLogElevatedWithoutRights = L"已以管理员身份运行，仍权限不足，未做任何更改";

std::wstring failedStep(const Failure& failure) {
    const std::wstring subject = shown(failure.subject);
    const std::wstring advice =
        L"，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";
    switch (failure.action) {
        case Failure::Action::FindUserFolder:
            return L"无法确定用户的应用程序数据文件夹，文件 " + subject + L" 无法安装 !";
        case Failure::Action::MakeFolder:
            return L"创建文件夹 " + subject + L" 失败（" + cause(failure) +
                   L"）!\n\n请检查它的上级文件夹是否存在，"
                   L"以及是否有权限在其中创建文件夹。";
        case Failure::Action::OpenKey:
        case Failure::Action::WriteKey:
            return L"写入注册表项 " + subject + L" 失败（" + cause(failure) +
                   L"）!\n\n请以管理员身份运行SetUp.exe。";
        case Failure::Action::EditList:
            return L"把安装目录加入 AutoCAD 的受信任位置 " + subject + L" 失败（" + cause(failure) + L"）!";
        default:
            // The copy-failure message as the installer has always said it.
            return L"拷贝文件 " + subject + L" 失败" + advice;
    }
}

std::wstring notPutBack(const FailureLog& failures, const std::wstring& logFile) {
    std::wstring text = L"安装已中止，但以下项目未能恢复到安装前的样子：\n\n";
    text += section(L"未能恢复：", failures, [](const Failure&) { return true; });
    if (!logFile.empty()) text += L"详细记录见安装日志：" + logFile;
    return text;
}

namespace {

// The advice that ends a report: by the causes of what failed.
std::wstring advice(const FailureLog& failures) {
    bool accessDenied = false, inUse = false;
    for (const Failure& failure : failures) {
        accessDenied = accessDenied || isAccessDenied(failure.error);
        inUse = inUse || isHeldByAnotherProgram(failure.error);
    }
    std::wstring text;
    if (inUse) text += L"请关闭 AutoCAD，然后重新安装。";
    if (accessDenied)
        text +=
            std::wstring(inUse ? L"\n" : L"") + L"请右键单击 SetUp.exe，选择“以管理员身份运行”，重新安装。";
    if (!inUse && !accessDenied) text += L"请排除上述错误后重新安装。";
    return text;
}

// Only the entry in Programs and Features failed: the plug-in is installed and loads.
std::wstring auxiliaryReport(const FailureLog& failures) {
    return L"批打印软件已安装，重启 AutoCAD 后即可使用，但未能添加到 Windows 的“程序和功能”：\n\n" +
           section(L"未能写入：", failures, isAuxiliary) + L"以后可以重新运行 SetUp.exe 来添加它。";
}

}  // namespace

std::wstring failureReport(const FailureLog& failures, const std::wstring& logFile) {
    if (failures.empty()) return std::wstring();
    size_t leftOut = 0, essential = 0;
    for (const Failure& failure : failures) {
        leftOut += isLeftOut(failure) ? 1 : 0;
        essential += isAuxiliary(failure) ? 0 : 1;
    }
    std::wstring text;
    if (essential == 0) {
        text = auxiliaryReport(failures);
    } else {
        // Only when no file was left out may the message say that the files were copied.
        text = leftOut == 0
                   ? L"文件已复制到安装目录，但以下项目未能完成，AutoCAD 可能无法加载批打印软件：\n\n"
                   : L"安装未全部完成：有 " + decimalText(leftOut) +
                         L" 个文件按您的选择被跳过，没有复制。以下项目未能完成，"
                         L"AutoCAD 可能无法加载批打印软件：\n\n";
        text += section(L"被跳过的文件：", failures, isLeftOut);
        text += section(L"未能写入的注册表项：", failures, isRegistry);
        text += section(L"未能复制到 AutoCAD 安装目录的文件：", failures,
                        [](const Failure& f) { return !isLeftOut(f) && !isRegistry(f) && !isAuxiliary(f); });
        text += section(L"未能添加到“程序和功能”：", failures, isAuxiliary);
        text += advice(failures);
    }
    if (!logFile.empty()) text += L"\n\n详细记录见安装日志：" + logFile;
    return text;
}

std::wstring pickerAskCreate(const std::string& path) {
    return L"The folder:\n\n" + shown(path) + L"\n\ndoes not exist. Do you want the folder to be created?";
}

std::wstring pickerInvalid(const std::string& path) {
    return L"The folder:\n\n" + shown(path) + L"\n\nis invalid. Please reenter.";
}

std::wstring pickerCannotCreate(const std::string& path) {
    return L"The folder:\n\n" + shown(path) + L"\n\ncan not be created. Please double check.";
}

// In Chinese, as the installer's own messages: this refusal is the installer's, not the
// picker's (the folder itself would be valid).
std::wstring pickerListSeparator(const std::string& path) {
    return L"文件夹 " + shown(path) +
           L" 含有分号（;）!\n\nAutoCAD "
           L"的受信任位置以分号分隔，无法信任这样的文件夹，请选择不含分号的文件夹。";
}

std::wstring protectChosenFolder(const std::string& folder) {
    return L"安装路径 " + shown(folder) +
           L" 已存在，管理员以外的用户也可以重命名、删除或接管它 !\n\nAutoCAD "
           L"将从这里为每个用户加载批打印软件。"
           L"是否把它也设为只有管理员可以更改？\n\n选择“否”则返回，请选择其他安装路径。";
}

const wchar_t* const kConfirmUninstall = L"确定要卸载批打印软件吗？\n\n请先关闭AutoCAD。";
const wchar_t* const kCloseAutoCadToUninstall = L"请关闭AutoCAD后再进行卸载 !";
const wchar_t* const kUninstalled = L"批打印软件已卸载。";

std::wstring uninstallDeclined() { return L"没有卸载：需要管理员权限才能卸载批打印软件。"; }

std::wstring uninstallNotStarted(unsigned long error) {
    return L"没有卸载：无法启动卸载程序（" + windowsErrorText(error) + L"）。";
}

std::wstring uninstallRefused(const Refusal& refusal) {
    std::wstring text = L"批打印软件没有卸载：" + logtexts::refusalWords(refusal) + L"。";
    if (!refusal.subject.empty()) text += L"\n\n" + shown(refusal.subject);
    return text;
}

std::wstring uninstalledPartly(std::size_t failures, const std::wstring& logFile) {
    std::wstring text =
        L"批打印软件已卸载，但有 " + decimalText(failures) + L" 项未能删除或因安装后被修改而保留。";
    if (!logFile.empty()) text += L"\n\n详细记录见安装日志：" + logFile;
    return text;
}

}  // namespace texts
