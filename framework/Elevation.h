// Administrator rights under User Account Control: whether this process runs elevated, and a
// start of a program elevated through the shell's "runas" verb, for which Windows asks the user
// (the consent prompt) before the program runs.
#pragma once

#include <windows.h>

#include <string>

// Whether the process's token is elevated. An administrator's programs run with a filtered
// token unless they were started elevated. Where Windows cannot tell (no such token query),
// there is nothing to ask for: the process counts as elevated.
bool isProcessElevated();

// Starts the program elevated with the arguments, the consent prompt owned by the window;
// ERROR_SUCCESS once it runs, else the Windows error: ERROR_CANCELLED when the user declined.
unsigned long startElevated(HWND owner, const std::wstring& program, const std::wstring& arguments);

// How startElevated starts a program; replaceable for tests only: Wine has no consent prompt to
// decline. Returns the previous one; nullptr restores the shell's "runas".
using ElevatedStarter = unsigned long (*)(HWND owner, const std::wstring& program,
                                          const std::wstring& arguments);
ElevatedStarter setElevatedStarter(ElevatedStarter starter);
