// A process that does nothing for a minute. Started under the name acad.exe (or a name that
// contains it), it stands for a running AutoCAD in the end-to-end tests.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Sleep(60000);
    return 0;
}
