// The application object: one per process, created statically by the program; the
// process entry hands control to its InitInstance.
#pragma once

#include <string>

class CWinApp {
   public:
    // The application's name titles the class library's message boxes; without a name of
    // its own the application is named after the executable file, less its extension.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once after start-up; returning false ends the process without a message loop.
    virtual bool InitInstance() { return false; }
    // Help command target (ID_HELP); the program has no help file, so it does nothing.
    virtual void OnHelp() {}

    const std::string& appName() const { return appName_; }

    // The entry routine of the class library: names the application and runs it.
    static int run();

   private:
    std::string appName_;
};

CWinApp* AfxGetApp();
const std::string& AfxGetAppName();
// Hosted-control support is part of every dialog here; kept as the documented start-up call.
void AfxEnableControlContainer();

// The framework's help command id.
constexpr int ID_HELP = 57670;
