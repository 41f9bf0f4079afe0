// SetUpCmd.exe's texts; see CmdTexts.h.
#include "cli/CmdTexts.h"

#include "framework/BuildConstants.h"
#include "framework/SystemCodePage.h"
#include "framework/WideText.h"

namespace cli {

namespace {

const wchar_t* const kExitCodes =
    L"退出代码：\n"
    L"  0     成功（status：已完整安装）\n"
    L"  1     status：未安装，或安装不完整\n"
    L"  2     已完成，但有项目按 --on-copy-failure ignore 跳过或未能完成（日志中列出）\n"
    L"  4     安装路径已存在，且管理员以外的用户可以更改它（见 "
    L"--protect-folder），或不能把它设为只有管理员可以更改，\n"
    L"        或路径上的文件夹管理员以外的用户可以更改；未做任何更改\n"
    L"  87    参数错误\n"
    L"  170   AutoCAD 正在运行，未做任何更改\n"
    L"  740   权限不足：无法写入 HKEY_LOCAL_MACHINE 或 AutoCAD 安装目录，请以管理员身份运行\n"
    L"  1603  "
    L"安装失败：未找到或无法读取安装文件、路径过长、中止；已做的更改全部撤销，计算机恢复原样；日志中列出原因"
    L"\n"
    L"  1618  另一个安装程序（SetUp.exe 或 SetUpCmd.exe）正在运行\n"
    L"安装要么全部完成，要么什么都不改变：没有“中途停止、安装不完整”的退出代码。\n";

const wchar_t* const kGeneral =
    L"SetUpCmd —— T-批打印软件的无人值守安装程序，供部署工具使用，不显示任何窗口。\n\n"
    L"用法：\n"
    L"  SetUpCmd list [--json]\n"
    L"  SetUpCmd install --folder <目录> [--releases all|2018,2020,...] [--data <目录>] [--log <文件>]\n"
    L"                   [--on-copy-failure abort|ignore] [--all-users] [--protect-folder] "
    L"[--no-programs-entry]\n"
    L"  SetUpCmd status [--json] [--releases all|2018,2020,...] [--min-version yyyymmdd]\n"
    L"  SetUpCmd uninstall [--purge] [--log <文件>]\n"
    L"  SetUpCmd user-setup --folder <目录> [--log <文件>]\n"
    L"  SetUpCmd install|uninstall|commit|rollback --package <产品代码>   （供 Windows Installer "
    L"程序包使用）\n"
    L"  SetUpCmd <命令> --help\n\n"
    L"与 SetUp.exe 的不同：不提问——复制失败时按 --on-copy-failure 处理（被占用的文件先重试 3 次），\n"
    L"AutoCAD 正在运行时直接退出，--releases 中本机没有的版本跳过并记入日志；\n"
    L"每一步写入日志（--log 指定的文件，UTF-8；未指定时写到标准错误）。\n\n";

const wchar_t* helpOf(Command command) {
    switch (command) {
        case Command::List:
            return L"SetUpCmd list [--json]\n"
                   L"  列出本版本找到的 AutoCAD：年份、产品名称、产品注册表项、安装目录。\n"
                   L"  --json  以 JSON 输出（英文键名，UTF-8）。\n";
        case Command::Install:
            return L"SetUpCmd install --folder <目录> [选项]\n"
                   L"  与 SetUp.exe 的“安装”相同：插件装入 <目录>\\T-DodudEdiv，注册到所选 AutoCAD，\n"
                   L"  并把该目录加入当前用户每个 AutoCAD 配置的受信任位置。目录须是完整路径，规则与 "
                   L"SetUp.exe 相同。\n"
                   L"  --releases all|2018,2020,...  要安装的 AutoCAD 年份（默认：找到的全部）\n"
                   L"  --data <目录>                 安装文件所在目录（默认：程序旁的 Data 目录）\n"
                   L"  --log <文件>                  日志文件（UTF-8）\n"
                   L"  --on-copy-failure abort|ignore  复制或注册失败时中止并撤销全部更改（默认）或跳过该项\n"
                   L"  --all-users                   通过 Windows 的 Active Setup，为每个用户在下次登录时\n"
                   L"                                完成受信任位置和设置文件（当前用户立即完成，SYSTEM "
                   L"除外）；\n"
                   L"                                尚无 AutoCAD 配置的用户在配置出现后的第一次登录时完成\n"
                   L"  --protect-folder              安装路径已存在且管理员以外的用户可以更改它时，\n"
                   L"                                把它也设为只有管理员可以更改（否则退出代码 4）\n";
        case Command::Status:
            return L"SetUpCmd status [--json] [--releases all|2018,...] [--min-version yyyymmdd]\n"
                   L"  每个找到的 AutoCAD：加载项注册表项及其 LOADER 文件、AutoCAD 目录中的插件文件；\n"
                   L"  当前用户每个配置的受信任位置；安装记录中的版本。全部齐全时退出代码为 "
                   L"0（可作部署工具的检测规则）。\n"
                   L"  --min-version  只有已安装的版本不低于它（如 20260101）时才算齐全。\n";
        case Command::Uninstall:
            return L"SetUpCmd uninstall [--purge] [--log <文件>]\n"
                   L"  按安装记录撤销安装（SetUp.exe 或 SetUpCmd.exe "
                   L"所装）所做的一切：插件目录及其中的文件、\n"
                   L"  加载项注册表项、复制到 AutoCAD 目录中的文件（被替换的原文件放回，如 AutoCAD 2008 的\n"
                   L"  pdfplot9.hdi），每个用户受信任位置中安装所加的那一项（安装前已有的保留）和设置文件。\n"
                   L"  安装后被修改过的文件保留，记入日志。没有安装记录的早期安装，按 LOADER 找到名为\n"
                   L"  T-DodudEdiv "
                   L"的插件目录，只删除插件自己的文件。无法打开其注册表的用户，在其下次登录时删除。\n"
                   L"  --purge：用户修改过的设置文件也删除，并删除当前用户的 Torlen 目录。\n";
        case Command::UserSetup:
            return L"SetUpCmd user-setup --folder <目录> [--log <文件>]\n"
                   L"  只做属于当前用户的部分：受信任位置和设置文件（用户已有的设置文件保留）。\n"
                   L"  install --all-users 留在插件目录中的 TorlenUserSetup.exe "
                   L"在每个用户登录时做同样的事。\n";
        case Command::Commit:
        case Command::Rollback:
            return L"SetUpCmd commit|rollback --package <产品代码>\n"
                   L"  Windows Installer 程序包的提交和回滚操作：install --package "
                   L"完成后，安装等待程序包的结果，\n"
                   L"  commit 使之生效，rollback 撤销它（被替换的旧安装完整恢复）。日志写入 "
                   L"%WINDIR%\\Logs。\n";
        case Command::None:
            break;
    }
    return L"";
}

}  // namespace

std::wstring helpText(Command command) {
    if (command == Command::None) return std::wstring(kGeneral) + kExitCodes;
    return std::wstring(helpOf(command)) + L"\n" + kExitCodes;
}

std::wstring commandStarted(Command command) {
    const wchar_t* started = command == Command::Uninstall  ? L"卸载开始"
                             : command == Command::Commit   ? L"提交程序包的安装"
                             : command == Command::Rollback ? L"回滚程序包的安装"
                                                            : L"安装开始";
    return started + logtexts::editionWords();
}

std::wstring commandFinished(Command command, bool allDone) {
    std::wstring done = command == Command::Install     ? L"安装完成"
                        : command == Command::Uninstall ? L"卸载完成"
                                                        : logtexts::kUserStepDone;
    return allDone ? done : done + L"，但以上项目未能完成";
}

std::wstring exitCodeLine(int exitCode) {
    return L"退出代码 " + decimalText(static_cast<unsigned long>(exitCode));
}

const wchar_t* const kDataUnrepresentable = L"--data：路径含有系统代码页无法表示的字符";
const wchar_t* const kPackageSettingsRefused = L"Windows Installer 程序包的设置无法使用，未做任何更改：";
const wchar_t* const kProtectFolderHint =
    L"加 --protect-folder，安装程序会把该目录设为只有管理员可以更改（只适用于空目录或只含插件目录的目录）";
std::wstring releasesFound(bool any) {
    return any ? L"找到的 AutoCAD" + logtexts::editionWords() + L"：\r\n"
               : L"未找到本版本可安装的 AutoCAD" + logtexts::editionWords() + L"\r\n";
}

std::wstring installationState(int year, const std::string& location, bool complete) {
    return L"AutoCAD " + decimalText(static_cast<unsigned long>(year)) + L"  " +
           widenFromSystemCodePage(location) + (complete ? L"：已安装\r\n" : L"：未安装或不完整\r\n");
}

std::wstring itemState(const std::string& name, bool present) {
    return std::wstring(present ? L"    [有] " : L"    [缺] ") + widenFromSystemCodePage(name) + L"\r\n";
}

const wchar_t* const kProfilesHeading = L"当前用户的 AutoCAD 配置信任插件目录：\r\n";

std::wstring releaseNotFound(int year) {
    return L"未找到 AutoCAD " + decimalText(static_cast<unsigned long>(year)) + L"\r\n";
}

std::wstring statusResult(bool complete) {
    return (complete ? L"结果：已完整安装" : L"结果：未安装或安装不完整") + logtexts::editionWords() +
           L"\r\n";
}

std::wstring installedBuildLine(unsigned long build, bool lastRunFinished) {
    if (build == 0) return L"已安装的版本：未知（没有安装记录，可能是早期版本所装）\r\n";
    return L"已安装的版本：" + decimalText(build) +
           (lastRunFinished ? L"\r\n" : L"（上次安装中途停止，不完整）\r\n");
}

std::wstring unservedWords(int year) {
    return L"--releases：本版本（" + decimalText(platformBits) + L" 位）不安装 AutoCAD " +
           decimalText(static_cast<unsigned long>(year)) +
           L"；AutoCAD 2017 及以后的版本只有 64 位，请用 64 位版本的 SetUpCmd";
}

}  // namespace cli
