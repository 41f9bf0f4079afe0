// The application object and the class library's entry routine.
#include "framework/Application.h"

#include <windows.h>

#include "framework/ModulePath.h"

namespace {
CWinApp* theApplication = nullptr;

std::wstring nameFromExecutable() {
    std::wstring file = moduleFileName();
    std::size_t slash = file.find_last_of(L"\\/");
    if (slash != std::wstring::npos) file.erase(0, slash + 1);
    std::size_t dot = file.rfind(L'.');
    return dot == std::wstring::npos ? file : file.substr(0, dot);
}
}  // namespace

CWinApp::CWinApp() { theApplication = this; }

CWinApp::~CWinApp() {
    if (theApplication == this) theApplication = nullptr;
}

int CWinApp::run() {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->InitInstance();
    return 0;
}

CWinApp* AfxGetApp() { return theApplication; }

const std::wstring& AfxGetAppName() {
    static const std::wstring fromExecutable = nameFromExecutable();
    return fromExecutable;
}
