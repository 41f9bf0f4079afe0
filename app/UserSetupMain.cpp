// TorlenUserSetup.exe's process entry: the logon step of an installation for every user
// (users/LogonStep.h), which Windows runs as each user logs on. A window program that shows no
// window and asks nothing: a console program would open a console at every logon, and a user
// who closed it would end the step half-way. It takes no arguments: the plug-in's folder is the
// program's own, so the command Windows runs is the program's path alone.
#include <windows.h>

#include "engine/Engine.h"
#include "framework/DllSearch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictDllSearchToSystemFolder();
    return runLogonProgram();
}
