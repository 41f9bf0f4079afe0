// Process entry: harden DLL loading before anything else can load one, then hand over to
// the application object.
#include <windows.h>

#include "framework/Application.h"
#include "framework/DllSearch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictDllSearchToSystemFolder();
    return CWinApp::run();
}
