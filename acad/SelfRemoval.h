// How SetUpCmd.exe removes itself when it uninstalls the plug-in from the copy kept in the
// plug-in's folder. No program can delete its own file while it runs, nor the folder that holds
// it, and a deployment tool waits for the program it started to learn its exit code: so the
// program does everything else, leaves its file (UninstallOutcome::leftInPlace), and hands it on
// to a copy of itself in a new folder of its own below the temporary folder (only the
// administrators and the running account may change it). The copy waits until the program has
// ended (Windows lets go of a program's file only then), deletes its file and the folders it
// kept from going, and marks its own file and folder for deletion at the next restart, which
// an administrator may: the plug-in's folder goes at once, and only the copy in the temporary
// folder waits for a restart.
#pragma once

#include <string>
#include <vector>

// The switch the copy is started with, which SetUpCmd.exe's process entry takes before its
// command line: the running program's process handle (inherited), its file, and the folders.
constexpr const wchar_t* kRemoveAfterExitSwitch = L"--remove-after-exit";

// The running program's file when it can hand its own removal on (it is SetUpCmd.exe), else
// empty.
std::string programRemovedAfterExit();
// Hands the program's file and the folders on to the copy; 0 or the Windows error.
unsigned long removeAfterExit(const std::string& programFile, const std::vector<std::string>& folders);
// After an uninstallation that left the program's file (it is in the plug-in's folder): the
// file and the folders it kept from going handed on, and logged; a failure goes into the outcome.
struct UninstallOutcome;
class SetupLog;
void removeProgramAfterExit(const std::string& programFile, UninstallOutcome& outcome, SetupLog& log);

// The copy's run: the arguments after the program's name, the switch first; its exit code.
int finishRemovalAfterExit(const std::vector<std::wstring>& arguments);
