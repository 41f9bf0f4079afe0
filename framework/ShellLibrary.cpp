// Shell functions from the system folder's shell32.dll; see ShellLibrary.h.
#include "framework/ShellLibrary.h"

#include "framework/DllSearch.h"

namespace shell {

namespace {
HMODULE library() {
    static HMODULE shell32 = loadSystemLibrary("shell32.dll");
    return shell32;
}

// The named export as a pointer of the given function type, or null.
template <class Function>
Function resolve(const char* name) {
    HMODULE module = library();
    FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
}
}  // namespace

HRESULT getMalloc(IMalloc** allocator) {
    static auto function = resolve<HRESULT(WINAPI*)(IMalloc**)>("SHGetMalloc");
    return function ? function(allocator) : E_FAIL;
}

PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOA* info) {
    static auto function = resolve<PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOA*)>("SHBrowseForFolderA");
    return function ? function(info) : nullptr;
}

BOOL pathFromIdList(PCIDLIST_ABSOLUTE item, char* path) {
    static auto function = resolve<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, char*)>("SHGetPathFromIDListA");
    return function ? function(item, path) : FALSE;
}

HRESULT folderPath(int csidl, char* path) {
    static auto function = resolve<HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, char*)>("SHGetFolderPathA");
    return function ? function(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) : E_FAIL;
}

}  // namespace shell
