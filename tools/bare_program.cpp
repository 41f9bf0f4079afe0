// A window program that ends at once: what starting any program costs, the baseline of the
// logon step's cost (bench/logon).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
