// The application object: one per process, created statically by the program; the
// process entry hands control to its InitInstance.
#pragma once

#include <string>

class CWinApp {
   public:
    // The application's name titles the class library's message boxes; the program has no
    // string resources, so it is named after the executable file, less its extension.
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once after start-up; returning false ends the process without a message loop.
    virtual bool InitInstance() { return false; }

    // The entry routine of the class library: runs the application.
    static int run();
};

CWinApp* AfxGetApp();
// The executable's file name less its extension ("SetUp").
const std::wstring& AfxGetAppName();
