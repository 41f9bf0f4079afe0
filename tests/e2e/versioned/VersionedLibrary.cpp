// A library that is nothing but its version: built twice with different version resources, it
// stands for another program's copy of a shared library in an AutoCAD folder.
#include <windows.h>

extern "C" __declspec(dllexport) int libraryVersion() { return 0; }
