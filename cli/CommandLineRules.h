// What SetUpCmd.exe is asked to do: the command and its options, read from the arguments as
// given (UTF-8). Nothing is guessed: an unknown command or option, a missing or doubled value,
// or a value out of range is refused with a one-line reason. Pure code (no Windows headers).
#pragma once

#include <string>
#include <vector>

namespace cli {

enum class Command { None, List, Install, Status, Uninstall, UserSetup, Commit, Rollback };
enum class OnCopyFailure { Abort, Ignore };

struct CommandLine {
    Command command = Command::None;
    bool help = false;  // --help, alone or after a command
    bool json = false;
    bool allUsers = false;
    bool purge = false;
    bool protectFolder =
        false;  // --protect-folder: an existing chosen folder others may change is protected too
    bool noProgramsEntry = false;  // --no-programs-entry: a Windows Installer package lists itself
    int minVersion = 0;            // --min-version: status is complete only for this build or a later one
    std::string folder;            // --folder: the chosen folder (the plug-in goes into its \T-DodudEdiv)
    std::string data;              // --data: the folder the files come from
    std::string log;               // --log: the log file
    std::vector<int> releases;     // --releases: the years named; empty for all found
    // --package: a Windows Installer package's product code ({...}); install then takes its
    // settings from what the package wrote (see cli/PackageSettings.h) and nothing else.
    std::string packageCode;
    OnCopyFailure onCopyFailure = OnCopyFailure::Abort;
};

// Whether a text is a product code as Windows Installer writes one: {XXXXXXXX-XXXX-XXXX-XXXX-
// XXXXXXXXXXXX}, hexadecimal digits.
bool isProductCode(const std::string& text);

// "all", or years of the releases the installer knows separated by commas, each named once;
// false with the reason otherwise. An empty text is every release, as "all".
bool parseReleases(const std::string& text, std::vector<int>& years, std::string& reason);

// Fills the command line; false with the reason when the arguments cannot be taken as given.
bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& reason);

// The command's name as typed ("install"), for help and messages.
const char* commandName(Command command);

}  // namespace cli
