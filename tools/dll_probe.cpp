// Loads the DLL named on the command line the way a program does that has not restricted
// its DLL search: the control case of the planted-DLL test.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) { return LoadLibraryA(commandLine) ? 0 : 1; }
