// The installation's entry in Programs and Features (Settings > Apps), where every Windows user
// looks for an installed program and how to remove it. It lives below
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\TorlenBatchPrint in the process's own
// registry view, so that the 32 edition's is where Windows lists 32-bit programs. There is one
// entry however often the plug-in is installed: installing again rewrites it; uninstall
// removes it, as it is in the installation's record.
#pragma once

#include <string>

class InstallRecorder;

// Copies the installers beside the running program (SetUp.exe, SetUpCmd.exe) into the
// plug-in's folder, for the entry's commands, and writes the entry: name, version, publisher,
// the plug-in's folder, its size, the icon, no Modify or Repair; the uninstall command is
// SetUp.exe's (a window that asks and tells), the quiet one SetUpCmd.exe's. 0 or the Windows
// error.
unsigned long registerProgramsEntry(const std::string& targetFolder, InstallRecorder* recorder);
// The entry's key, as a log names it.
std::string programsEntryKeyName();
