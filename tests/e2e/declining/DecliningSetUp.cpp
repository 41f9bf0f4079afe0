// SetUp.exe as it runs for a user who declines Windows' prompt for administrator rights: the
// same program, whose start elevated gets the answer Windows gives then (ERROR_CANCELLED).
// Wine has no consent prompt to decline: its ShellExecuteExW starts a program with the "runas"
// verb as it does with "open", under the caller's own token (read in a trace of Wine 8, which
// looks up no verb for an .exe and creates the process). So the end-to-end tests reach the
// declined prompt only through this build, which replaces the one function the program starts
// itself elevated through, and nothing else.
#include <windows.h>

#include "framework/Application.h"
#include "framework/DllSearch.h"
#include "framework/Elevation.h"

namespace {
unsigned long declined(HWND, const std::wstring&, const std::wstring&) { return ERROR_CANCELLED; }
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictDllSearchToSystemFolder();
    setElevatedStarter(declined);
    return CWinApp::run();
}
