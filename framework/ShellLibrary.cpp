// Shell functions from the system folder's shell32.dll; see ShellLibrary.h.
#include "framework/ShellLibrary.h"

#include "framework/DllSearch.h"

namespace shell {

HRESULT getMalloc(IMalloc** allocator) {
    static auto function = systemExport<HRESULT(WINAPI*)(IMalloc**)>("shell32.dll", "SHGetMalloc");
    return function ? function(allocator) : E_FAIL;
}

PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOW* info) {
    static auto function =
        systemExport<PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*)>("shell32.dll", "SHBrowseForFolderW");
    return function ? function(info) : nullptr;
}

BOOL pathFromIdList(PCIDLIST_ABSOLUTE item, wchar_t* path) {
    static auto function =
        systemExport<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, wchar_t*)>("shell32.dll", "SHGetPathFromIDListW");
    return function ? function(item, path) : FALSE;
}

BOOL executeEx(SHELLEXECUTEINFOW* info) {
    static auto function = systemExport<BOOL(WINAPI*)(SHELLEXECUTEINFOW*)>("shell32.dll", "ShellExecuteExW");
    if (function) return function(info);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
}

}  // namespace shell
