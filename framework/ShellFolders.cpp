// The shell's folders; see ShellFolders.h.
#include "framework/ShellFolders.h"

#include <windows.h>

#include "framework/DllSearch.h"

namespace {
// SHGetFolderPathA and the folder number of the roaming application data (CSIDL_APPDATA).
using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, char*);
const int kRoamingAppData = 0x001a;
const DWORD kCurrentPath = 0;  // SHGFP_TYPE_CURRENT
}  // namespace

std::string roamingAppDataFolder() {
    static GetFolderPath getFolderPath = systemExport<GetFolderPath>("shell32.dll", "SHGetFolderPathA");
    char folder[MAX_PATH] = {};
    if (!getFolderPath || FAILED(getFolderPath(nullptr, kRoamingAppData, nullptr, kCurrentPath, folder)))
        return std::string();
    return folder;
}
