// Reading SetUpCmd.exe's arguments; see CommandLineRules.h.
#include "cli/CommandLineRules.h"

#include "engine/Engine.h"

namespace cli {

namespace {

struct CommandName {
    const char* name;
    Command command;
};
const CommandName kCommands[] = {
    {"list", Command::List},           {"install", Command::Install},      {"status", Command::Status},
    {"uninstall", Command::Uninstall}, {"user-setup", Command::UserSetup}, {"commit", Command::Commit},
    {"rollback", Command::Rollback}};

// Which options each command takes.
bool takes(Command command, const std::string& option) {
    switch (command) {
        case Command::List:
            return option == "--json";
        case Command::Install:
            return option == "--folder" || option == "--releases" || option == "--data" ||
                   option == "--log" || option == "--on-copy-failure" || option == "--all-users" ||
                   option == "--protect-folder" || option == "--no-programs-entry" || option == "--package";
        case Command::Status:
            return option == "--json" || option == "--releases" || option == "--min-version";
        case Command::Uninstall:
            return option == "--purge" || option == "--log" || option == "--package";
        case Command::Commit:
        case Command::Rollback:
            return option == "--package";
        case Command::UserSetup:
            return option == "--folder" || option == "--log";
        case Command::None:
            return false;
    }
    return false;
}

bool takesValue(const std::string& option) {
    return option == "--folder" || option == "--releases" || option == "--data" || option == "--log" ||
           option == "--on-copy-failure" || option == "--min-version" || option == "--package";
}

}  // namespace

bool isProductCode(const std::string& text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    for (std::size_t at = 1; at < 37; ++at) {
        const bool dash = at == 9 || at == 14 || at == 19 || at == 24;
        const char c = text[at];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (dash ? c != '-' : !hex) return false;
    }
    return true;
}

bool parseReleases(const std::string& text, std::vector<int>& years, std::string& reason) {
    years.clear();
    if (text == "all" || text.empty()) return true;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string year = text.substr(start, end - start);
        bool digits = year.size() == 4 && year.find_first_not_of("0123456789") == std::string::npos;
        int value = digits ? std::stoi(year) : 0;
        if (value < kFirstReleaseYear || value > kLastReleaseYear) {
            reason = "--releases: \"" + year + "\" is not a release from " +
                     std::to_string(kFirstReleaseYear) + " to " + std::to_string(kLastReleaseYear) +
                     " (or use all)";
            return false;
        }
        for (int known : years) {
            if (known == value) {
                reason = "--releases: " + year + " is named twice";
                return false;
            }
        }
        years.push_back(value);
        start = end + 1;
    }
    return true;
}

namespace {

bool setValue(CommandLine& line, const std::string& option, const std::string& value, std::string& reason) {
    if (value.empty()) {
        reason = option + " needs a value";
        return false;
    }
    if (option == "--releases") return parseReleases(value, line.releases, reason);
    if (option == "--package") {
        if (!isProductCode(value)) {
            reason =
                "--package takes the package's product code ({XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}), not "
                "\"" +
                value + "\"";
            return false;
        }
        line.packageCode = value;
        return true;
    }
    if (option == "--min-version") {
        // A build version as yyyymmdd, as status reports it.
        if (value.size() != 8 || value.find_first_not_of("0123456789") != std::string::npos) {
            reason = "--min-version takes a build version as yyyymmdd (20260101), not \"" + value + "\"";
            return false;
        }
        line.minVersion = std::stoi(value);
        return true;
    }
    if (option == "--on-copy-failure") {
        if (value != "abort" && value != "ignore") {
            reason = "--on-copy-failure takes abort or ignore, not \"" + value + "\"";
            return false;
        }
        line.onCopyFailure = value == "abort" ? OnCopyFailure::Abort : OnCopyFailure::Ignore;
        return true;
    }
    std::string& target = option == "--folder" ? line.folder : option == "--data" ? line.data : line.log;
    target = value;
    return true;
}

}  // namespace

const char* commandName(Command command) {
    for (const CommandName& known : kCommands)
        if (known.command == command) return known.name;
    return "";
}

bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& reason) {
    line = CommandLine();
    std::size_t at = 0;
    if (at < arguments.size() && arguments[at] == "--help") {
        line.help = true;
        ++at;
    }
    if (at < arguments.size() && !line.help) {
        for (const CommandName& known : kCommands)
            if (arguments[at] == known.name) line.command = known.command;
        if (line.command == Command::None) {
            reason = "unknown command \"" + arguments[at] +
                     "\" (list, install, status, uninstall, user-setup, commit, rollback)";
            return false;
        }
        ++at;
    }
    std::vector<std::string> seen;
    for (; at < arguments.size(); ++at) {
        const std::string& option = arguments[at];
        if (option == "--help") {
            line.help = true;
            continue;
        }
        if (!takes(line.command, option)) {
            reason = "unknown option \"" + option + "\" for " +
                     (line.command == Command::None ? "SetUpCmd" : commandName(line.command));
            return false;
        }
        for (const std::string& earlier : seen) {
            if (earlier == option) {
                reason = option + " is given twice";
                return false;
            }
        }
        seen.push_back(option);
        if (!takesValue(option)) {
            (option == "--json"                ? line.json
             : option == "--purge"             ? line.purge
             : option == "--protect-folder"    ? line.protectFolder
             : option == "--no-programs-entry" ? line.noProgramsEntry
                                               : line.allUsers) = true;
            continue;
        }
        if (at + 1 >= arguments.size()) {
            reason = option + " needs a value";
            return false;
        }
        if (!setValue(line, option, arguments[++at], reason)) return false;
    }
    if (line.help) return true;
    if (line.command == Command::None) {
        reason = "no command given (list, install, status, uninstall, user-setup; --help)";
        return false;
    }
    // A package's installation takes its settings from the package alone: nothing on the command
    // line can change them (and Windows Installer pastes no property into it).
    if (line.command == Command::Install && !line.packageCode.empty() && seen.size() != 1) {
        reason = "install --package takes no other option: the package's settings are its own";
        return false;
    }
    if ((line.command == Command::Commit || line.command == Command::Rollback) && line.packageCode.empty()) {
        reason = std::string(commandName(line.command)) + " needs --package <product code>";
        return false;
    }
    if (((line.command == Command::Install && line.packageCode.empty()) ||
         line.command == Command::UserSetup) &&
        line.folder.empty()) {
        reason = std::string(commandName(line.command)) + " needs --folder <dir>";
        return false;
    }
    return true;
}

}  // namespace cli
