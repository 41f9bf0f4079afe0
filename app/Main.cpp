// Process entry: harden DLL loading, then hand over to the application object.
#include <windows.h>

#include "framework/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return CWinApp::run(); }
