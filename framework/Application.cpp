// The application object and the class library's entry routine.
#include "framework/Application.h"

#include <windows.h>

#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"

namespace {
CWinApp* theApplication = nullptr;

std::string nameFromExecutable() {
    std::string path = moduleFilePath();
    std::size_t slash = narrow::findLastBackslash(path, isSystemLeadByte);
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = file.rfind('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}
}  // namespace

CWinApp::CWinApp(const char* appName) : appName_(appName ? appName : "") { theApplication = this; }

CWinApp::~CWinApp() {
    if (theApplication == this) theApplication = nullptr;
}

int CWinApp::run() {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    if (app->appName_.empty()) app->appName_ = nameFromExecutable();
    app->InitInstance();
    return 0;
}

CWinApp* AfxGetApp() { return theApplication; }

const std::string& AfxGetAppName() {
    if (theApplication && !theApplication->appName().empty()) return theApplication->appName();
    static const std::string fromExecutable = nameFromExecutable();
    return fromExecutable;
}

void AfxEnableControlContainer() {}
