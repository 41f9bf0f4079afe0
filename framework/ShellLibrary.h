// The shell functions of the folder picker and of the elevated restart, taken from shell32.dll
// when first needed, loaded from the system folder. Importing shell32 instead would make the loader resolve
// shell32's own dependencies (shcore.dll among them) at process start, before the DLL search is restricted,
// and look for them beside the executable first.
#pragma once

// windows.h first: the shell header relies on its types.
#include <windows.h>

#include <shlobj.h>

namespace shell {

HRESULT getMalloc(IMalloc** allocator);
PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOW* info);
BOOL pathFromIdList(PCIDLIST_ABSOLUTE item, wchar_t* path);
BOOL executeEx(SHELLEXECUTEINFOW* info);

}  // namespace shell
