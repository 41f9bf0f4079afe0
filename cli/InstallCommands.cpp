// The commands that change the machine: install (the Install button's installation, without
// questions), uninstall, and user-setup (the part of an installation that belongs to each user).
#include "acad/AcadProcess.h"
#include "acad/Installation.h"
#include "acad/Uninstallation.h"
#include "acad/WriteAccess.h"
#include "cli/ActiveSetup.h"
#include "cli/CmdObserver.h"
#include "cli/CmdTexts.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/ReleaseChoice.h"
#include "deploy/FileOperations.h"
#include "framework/SystemCodePage.h"
#include "framework/WideText.h"
#include "ui/InstallRules.h"

namespace cli {

namespace {

// A path argument in the system code page, as the engine's file functions take it; false when
// a character has no equivalent there (it would name another folder).
bool systemPathOf(const std::string& utf8Path, std::string& systemPath) {
    return narrowToSystemCodePage(fromUtf8(utf8Path), systemPath);
}

// The chosen folder of --folder, by the rules the dialog's path field follows; false, with the
// reason logged, when they refuse it.
bool takeChosenFolder(const std::string& utf8Folder, Log& log, std::string& chosen) {
    std::string typed;
    PathFieldVerdict verdict = systemPathOf(utf8Folder, typed)
                                   ? checkPathField(typed, chosen, isSystemLeadByte)
                                   : PathFieldVerdict::Invalid;
    if (verdict == PathFieldVerdict::Usable) return true;
    log.line(folderWords(verdict));
    return false;
}

void logFailures(Log& log, const FailureLog& failures) {
    for (const Failure& failure : failures) log.line(failureWords(failure), failure.subject, failure.error);
}

int finish(Log& log, const FailureLog& failures, const wchar_t* done, const std::string& where) {
    logFailures(log, failures);
    log.line(failures.empty() ? std::wstring(done) : std::wstring(done) + L"，但以上项目未能完成", where);
    return failures.empty() ? kDone : kDoneWithFailures;
}

bool refuseWhileAcadRuns(Log& log) {
    if (!isAcadRunning()) return false;
    log.line(L"AutoCAD 正在运行，请关闭 AutoCAD 后再运行；未做任何更改");
    return true;
}

// Before anything is written: whether this process may write every product key and AutoCAD
// folder of the selected releases (and, for every user, Active Setup's key).
bool refuseWithoutRights(Log& log, const AcadReleaseTable& table, const ReleaseSelection& releases,
                         bool activeSetup) {
    unsigned long error = ERROR_SUCCESS;
    std::string unwritable = firstUnwritable(table, releases, error);
    if (unwritable.empty() && activeSetup && (error = activeSetupWriteError()) != ERROR_SUCCESS)
        unwritable = activeSetupKeyName();
    if (unwritable.empty()) return false;
    log.line(L"权限不足，请以管理员身份运行；未做任何更改", unwritable, error);
    return true;
}

// The releases named or found; nonzero exit code when there is nothing to install for.
int chooseForInstall(Log& log, const AcadReleaseTable& table, const CommandLine& line,
                     ReleaseChoice& choice) {
    choice = chooseReleases(table, line.releases);
    if (choice.unserved) {
        log.line(unservedWords(choice.unserved));
        return kBadArguments;
    }
    for (int year : choice.notFound)
        log.line(L"未找到 AutoCAD " + decimalText(static_cast<unsigned long>(year)) + L"，跳过");
    if (choice.any()) return kDone;
    log.line(L"未找到可安装的 AutoCAD" + editionWords() + L"，未做任何更改");
    return kFatal;
}

void logRegistered(Log& log, const AcadReleaseTable& table, const ReleaseSelection& releases) {
    for (int index = 0; index < kReleaseCount; ++index) {
        if (!releases[index]) continue;
        for (const std::string& location : table.locations[index])
            log.line(
                L"已安装到 AutoCAD " + decimalText(static_cast<unsigned long>(kFirstReleaseYear + index)),
                location);
    }
}

}  // namespace

int installPlugin(const CommandLine& line, Log& log) {
    log.line(L"安装开始" + editionWords());
    std::string chosen, dataFolder;
    if (!takeChosenFolder(line.folder, log, chosen)) return kBadArguments;
    if (!line.data.empty() && !systemPathOf(line.data, dataFolder)) {
        log.line(L"--data：路径含有系统代码页无法表示的字符");
        return kBadArguments;
    }
    if (refuseWhileAcadRuns(log)) return kAcadRunning;
    AcadReleaseTable table;
    table.findAcadReleases();
    ReleaseChoice choice;
    if (int refused = chooseForInstall(log, table, line, choice)) return refused;
    if (refuseWithoutRights(log, table, choice.selection, line.allUsers)) return kNotElevated;

    CmdObserver observer(log, line.onCopyFailure);
    Installation installation(table, observer, dataFolder);
    const std::string target = targetFolderIn(chosen);
    if (installation.prepare(target) != DeployJob::Readiness::Ready) {
        log.line(L"未做任何更改");
        return kFatal;
    }
    log.line(L"复制插件文件", target);
    if (!installation.run(choice.selection)) {
        log.line(L"安装中止，插件未注册到 AutoCAD", target);
        return kFatal;
    }
    logRegistered(log, table, choice.selection);
    FailureLog failures = installation.failures();
    if (line.allUsers) {
        std::string located;
        locateSetupDataFolder(dataFolder, located);
        if (unsigned long error = registerActiveSetup(chosen, target, located))
            failures.push_back({Failure::Action::WriteKey, activeSetupKeyName(), error});
        else
            log.line(L"已注册 Active Setup，每个用户下次登录时完成受信任位置和设置文件",
                     activeSetupKeyName());
    }
    return finish(log, failures, L"安装完成", target);
}

int uninstall(const CommandLine& line, Log& log) {
    log.line(L"卸载开始" + editionWords());
    if (refuseWhileAcadRuns(log)) return kAcadRunning;
    AcadReleaseTable table;
    table.findAcadReleases();
    ReleaseSelection everyRelease;
    everyRelease.fill(1);
    if (refuseWithoutRights(log, table, everyRelease, false)) return kNotElevated;
    UninstallOutcome outcome = uninstallPlugin(table, line.purge);
    if (outcome.pluginFolders.empty()) log.line(L"未找到插件的注册表项");
    for (const std::string& folder : outcome.pluginFolders) log.line(L"插件目录", folder);
    for (const std::string& removed : outcome.removed) log.line(L"已删除或恢复", removed);
    if (unsigned long error = removeActiveSetup())
        outcome.failures.push_back({Failure::Action::WriteKey, activeSetupKeyName(), error});
    return finish(log, outcome.failures, L"卸载完成", std::string());
}

int setUpForUser(const CommandLine& line, Log& log) {
    std::string chosen;
    if (!takeChosenFolder(line.folder, log, chosen)) return kBadArguments;
    AcadReleaseTable table;
    assignFolderPath(table.installFolder, targetFolderIn(chosen));
    FailureLog failures;
    table.addTrustedFolder(failures);
    std::string settings;
    if (unsigned long error = copyKeptSettings(table.installFolder, settings))
        failures.push_back({Failure::Action::Copy, settings, error});
    return finish(log, failures, L"当前用户的受信任位置和设置文件已完成", table.installFolder);
}

}  // namespace cli
