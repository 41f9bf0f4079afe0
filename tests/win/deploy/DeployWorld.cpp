// The deployment tests' world; see DeployWorld.h.
#include "DeployWorld.h"

#include <commctrl.h>

#include "framework/ModulePath.h"

TestProgressBar::TestProgressBar() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    control_.m_hWnd = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control_.m_hWnd, PBM_SETRANGE32, 0, 100000);
    control_.SetStep(1);
    control_.SetPos(0);
}

TestProgressBar::~TestProgressBar() { DestroyWindow(control_.m_hWnd); }

int TestProgressBar::position() const { return control_.GetPos(); }

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
    char buffer[32768];
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    wasSet_ = length > 0 && length < sizeof buffer;
    if (wasSet_) previous_.assign(buffer, length);
    SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableA(name_.c_str(), wasSet_ ? previous_.c_str() : nullptr);
}

DeployWorld::DeployWorld()
    : installer(root / "installer"),
      data(installer + "\\Data"),
      target(root / "target"),
      appData(root / "appdata"),
      appDataVariable("APPDATA", appData.c_str()) {
    CreateDirectoryA(installer.c_str(), nullptr);
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA(appData.c_str(), nullptr);
    overrideModuleFilePath(installer + "\\SetUp.exe");
}

DeployWorld::~DeployWorld() { overrideModuleFilePath(""); }

bool isReadOnly(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void makeReadOnly(const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }
