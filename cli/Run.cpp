// SetUpCmd.exe's command line: the arguments read, refused with one line when they cannot be
// taken as given, and the command run; one installation at a time on the machine.
#include "cli/CmdTexts.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/PackageSettings.h"
#include "framework/WideText.h"

namespace cli {

namespace {

int refuseArguments(const std::string& reason) {
    writeError(L"SetUpCmd: " + fromUtf8(reason) + L"（SetUpCmd --help）\r\n");
    return kBadArguments;
}

// install and uninstall take the installation lock themselves (the engine's order). user-setup
// does not wait for another installer: Windows runs it once per user at logon, and a refusal then
// would not be tried again.
int runChanging(const CommandLine& line, SetupLog& log) {
    switch (line.command) {
        case Command::UserSetup:
            return setUpForUser(line, log);
        case Command::Install:
            return installPlugin(line, log);
        case Command::Commit:
        case Command::Rollback:
            return endPackageRun(line, log);
        default:
            return uninstall(line, log);
    }
}

}  // namespace

int runSetUpCmd(const std::vector<std::wstring>& arguments) {
    std::vector<std::string> utf8Arguments;
    for (const std::wstring& argument : arguments) utf8Arguments.push_back(utf8(argument));
    CommandLine line;
    std::string reason;
    if (!parseCommandLine(utf8Arguments, line, reason)) return refuseArguments(reason);
    if (line.help) {
        writeOut(helpText(line.command));
        return kDone;
    }
    if (line.command == Command::List) return listReleases(line);
    if (line.command == Command::Status) return reportStatus(line);
    // A package's runs are all logged in one place only administrators may write; any other
    // command where --log says (else to standard error).
    SetupLog log(line.packageCode.empty() ? fromUtf8(line.log) : packageLogPath(),
                 line.packageCode.empty() ? SetupLog::Mode::Replace : SetupLog::Mode::Append);
    if (!log.usable()) return refuseArguments("--log: cannot create \"" + line.log + "\"");
    log.header(fromUtf8(kUnattendedInstallerName) + L" " + fromUtf8(commandName(line.command)));
    int exitCode = runChanging(line, log);
    log.line(exitCodeLine(exitCode));
    return exitCode;
}

}  // namespace cli
