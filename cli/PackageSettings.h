// What a Windows Installer package asks SetUpCmd.exe to install. The package never pastes a
// property into a command line (a quote would inject options): it writes its settings with its
// Registry table into HKEY_LOCAL_MACHINE\SOFTWARE\Torlen\BatchPrint\Package, in the edition's own
// registry view, where only administrators write, and SetUpCmd reads them here as they stand and
// checks them by its own rules.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct PackageSettings {
    std::string productCode;     // the package's own, to match the one it starts SetUpCmd with
    std::string productVersion;  // as Windows Installer has it (26.1.1)
    std::wstring folder;         // FOLDER: the chosen folder
    std::vector<int> releases;   // RELEASES: empty for every release found
    bool protectFolder = false;  // PROTECTFOLDER: an existing chosen folder others may change is protected
};

// Reads and checks the settings of the package with this product code; false with the reason
// (in English, as the command line's) when they are missing, another package's, or not usable.
bool readPackageSettings(const std::string& productCode, PackageSettings& settings, std::string& reason);

// Where SetUpCmd.exe logs a package's runs: %WINDIR%\Logs\TorlenBatchPrint32.log (…64.log), a
// folder other users may only read.
std::wstring packageLogPath();

}  // namespace cli
