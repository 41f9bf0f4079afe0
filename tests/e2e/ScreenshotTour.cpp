// Not a test: a walk through the dialog's pages for scripts/screenshot. At each page it
// leaves a marker file and waits until the script has taken the picture.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

using namespace e2e;

namespace {
const char* const kShots = "C:\\e2e\\shots";

// Tells the script that a page is ready and waits until it has been photographed.
void pause(const std::string& page) {
    std::string ready = std::string(kShots) + "\\" + page + ".ready";
    std::string taken = std::string(kShots) + "\\" + page + ".taken";
    writeFile(ready, page);
    for (int waited = 0; waited < 30000 && !fileExists(taken); waited += 100) Sleep(100);
}

const char* const kDemoSetup = "C:\\TorlenDemo\\SetUp.exe";

// Clicks Install and photographs the message that comes.
void photographInstallMessage(const SetupProcess& setup, const std::string& page) {
    setup.click(IDC_INSTALL);
    if (MessageBoxWindow message = waitForMessageBox(setup.dialog(), 20000)) {
        pause(page);
        message.press(IDOK);
        setup.settle();
    }
}

// The pages of the rights Install asks for, with the product key of the demo's AutoCAD in
// Program Files that this edition finds writable by nobody, as for a user without
// administrator rights; and the refusal of a second installer.
void rightsPages() {
    const std::string key = platformBits == 32
                                ? "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R18.2\\ACAD-A001:804"
                                : "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804";
    setKeySecurity(HKEY_LOCAL_MACHINE, key, "D:P(A;;KR;;;WD)");
    {
        SetupProcess filtered(kDemoSetup, Token::Filtered);
        if (filtered.dialogFound()) pause("6-shield");
        // The program file moved away while it runs: the elevated instance cannot start.
        MoveFileA(kDemoSetup, "C:\\TorlenDemo\\SetUp.moved");
        photographInstallMessage(filtered, "7-restart-failed");
        MoveFileA("C:\\TorlenDemo\\SetUp.moved", kDemoSetup);
    }
    {
        SetupProcess elevated(kDemoSetup, Token::Elevated);
        photographInstallMessage(elevated, "8-elevated-without-rights");
    }
    CopyFileA(kDemoSetup, "C:\\TorlenDemo\\SetUp.shipped", FALSE);
    CopyFileA((builtFolder() + "\\declining_setup.exe").c_str(), kDemoSetup, FALSE);
    {
        SetupProcess declining(kDemoSetup, Token::Filtered);
        photographInstallMessage(declining, "9-elevation-declined");
    }
    MoveFileExA("C:\\TorlenDemo\\SetUp.shipped", kDemoSetup, MOVEFILE_REPLACE_EXISTING);
    setKeySecurity(HKEY_LOCAL_MACHINE, key, "D:P(A;;KA;;;WD)");
    SetupProcess first(kDemoSetup);
    SetupProcess second(kDemoSetup);
    photographInstallMessage(second, "10-another-installer");
}
// The question about an existing chosen folder that everyone may change, and the uninstall
// command of the Programs and Features entry (the installation of page 5 is there to remove).
void ownershipPages() {
    freshFolder("C:\\Shared");
    setFolderSecurity("C:\\Shared", "D:P(A;OICI;FA;;;WD)");
    {
        SetupProcess setup(kDemoSetup);
        setup.setText(IDC_INSTALL_PATH, L"C:\\Shared");
        setup.click(IDC_INSTALL);
        if (MessageBoxWindow question = waitForMessageBox(setup.dialog(), 20000)) {
            pause("11-protect-chosen-folder");
            question.press(IDNO);
        }
    }
    std::wstring command = L"\"C:\\Torlen\\T-DodudEdiv\\SetUp.exe\" /uninstall";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    const char* pages[] = {"12-uninstall-asks", "13-uninstalled"};
    for (const char* page : pages) {
        MessageBoxWindow box = waitForMessageBox(nullptr, 20000);
        if (!box) break;
        pause(page);
        box.press(page == pages[0] ? IDYES : IDOK);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}
}  // namespace

// Run with --gtest_also_run_disabled_tests on a machine prepared by demo/prepare-prefix.sh.
TEST(ScreenshotTour, DISABLED_Pages) {
    freshFolder(kShots);
    SetupProcess setup(kDemoSetup);
    ASSERT_TRUE(setup.dialogFound());
    pause("1-selection");
    setup.click(IDC_BROWSE);
    MessageBoxWindow picker = waitForMessageBox(setup.dialog());
    if (picker) {
        Sleep(500);
        pause("2-folder-picker");
        picker.press(IDCANCEL);
        setup.settle();
    }
    // The message for an empty path field; the field is given back afterwards.
    setup.setText(IDC_INSTALL_PATH, L"");
    setup.click(IDC_INSTALL);
    if (MessageBoxWindow refusal = waitForMessageBox(setup.dialog())) {
        pause("3-empty-path");
        refusal.press(IDOK);
        setup.settle();
    }
    setup.setText(IDC_INSTALL_PATH, L"C:\\Torlen");
    // A module of an AutoCAD this edition finds held open, as a running AutoCAD does: the copy
    // over it fails and is reported before the finish page.
    std::string held = platformBits == 32 ? "C:\\Program Files (x86)\\AutoCAD 2012\\ACAD2010P.dll"
                                          : "C:\\Program Files\\AutoCAD 2014\\ACAD2013P.dll";
    writeFile(held, "older module");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    setup.click(IDC_INSTALL);
    int messages = 0;
    for (int waited = 0; waited < 20000 && setup.visible(IDC_INSTALL); waited += 100) {
        MessageBoxWindow box = waitForMessageBox(setup.dialog(), 100);
        if (box) {
            pause("4-message-" + std::to_string(++messages));
            box.press(IDOK);
            setup.settle();
        }
    }
    CloseHandle(holder);
    setup.settle();
    pause("5-finish");
    setup.click(IDOK);
    setup.waitForExit(5000);
    rightsPages();
    ownershipPages();
}
