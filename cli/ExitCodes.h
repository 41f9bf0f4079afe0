// SetUpCmd.exe's exit codes, in the style deployment tools read (Windows Installer's where one
// means the same): one table, also in its help and in the README.
#pragma once

namespace cli {

constexpr int kDone = 0;              // done; status: completely installed
constexpr int kNotInstalled = 1;      // status: not installed, or not completely
constexpr int kDoneWithFailures = 2;  // finished, but some items failed (the log names them)
constexpr int kUnsafeFolder = 4;  // the chosen folder, or one above it, others than administrators may change
constexpr int kBadArguments = 87;  // ERROR_INVALID_PARAMETER: the command line is refused
constexpr int kAcadRunning = 170;  // ERROR_BUSY: AutoCAD is running; nothing was done
constexpr int kNotElevated = 740;  // ERROR_ELEVATION_REQUIRED: HKLM or an AutoCAD folder not writable
constexpr int kFatal = 1603;       // ERROR_INSTALL_FAILURE: nothing installed (a stopped run is undone)
constexpr int kAnotherInstallation = 1618;  // ERROR_INSTALL_ALREADY_RUNNING

}  // namespace cli
