// Elevation; see Elevation.h.
#include "framework/Elevation.h"

#include "framework/Handles.h"
#include "framework/ShellLibrary.h"

namespace {

// The shell's "runas" verb: Windows shows its consent prompt and starts the program with the
// administrator's full token. The file's download zone was checked when the user started it;
// checking it again would put a second warning before the prompt. The call returns once the
// program has been started (no asynchronous start), as the caller may end right after.
unsigned long runAs(HWND owner, const std::wstring& program, const std::wstring& arguments) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (shell::executeEx(&info)) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

ElevatedStarter currentStarter = runAs;

}  // namespace

bool isProcessElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
    KernelHandle owned(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) return true;
    return elevation.TokenIsElevated != 0;
}

unsigned long startElevated(HWND owner, const std::wstring& program, const std::wstring& arguments) {
    if (program.empty()) return ERROR_FILENAME_EXCED_RANGE;  // the own path did not fit MAX_PATH
    return currentStarter(owner, program, arguments);
}

ElevatedStarter setElevatedStarter(ElevatedStarter starter) {
    ElevatedStarter previous = currentStarter;
    currentStarter = starter ? starter : runAs;
    return previous;
}
