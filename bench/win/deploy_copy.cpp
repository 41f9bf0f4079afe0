// Deployment against a plain copy: a setup data folder of 200 files, 200 MB in all, installed by
// install() for one AutoCAD (in a private registry; the dialog's own observer on a real progress
// bar, message boxes answered without blocking) and copied by a bare CopyFileA loop, alternately,
// four times each; once more with the bar hidden, to tell drawing from copying.
// Needs a display for the progress bar. Prints the medians and a "row|..." line.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Measure.h"
#include "engine/Engine.h"
#include "framework/MessageBox.h"
#include "framework/ModulePath.h"
#include "support/Sandbox.h"
#include "ui/DialogObserver.h"

namespace {

constexpr int kFiles = 200;
constexpr DWORD kFileBytes = 1024 * 1024;
int boxesShown = 0;

int countAndIgnore(HWND, const std::wstring& text, const std::wstring&, UINT) {
    if (++boxesShown <= 3) std::printf("message box: %ls\n", text.c_str());
    return IDIGNORE;
}

std::vector<std::string> writeDataFolder(const std::string& data) {
    CreateDirectoryA(data.c_str(), nullptr);
    std::vector<char> bytes(kFileBytes);
    std::vector<std::string> names;
    for (int i = 0; i < kFiles; ++i) {
        for (std::size_t b = 0; b < bytes.size(); b += 4096) bytes[b] = static_cast<char>(i + b / 4096);
        char name[32];
        std::snprintf(name, sizeof name, "module%03d.arx", i);
        HANDLE file = CreateFileA((data + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), kFileBytes, &written, nullptr);
        CloseHandle(file);
        names.push_back(name);
    }
    return names;
}

// The baseline: list the folder, copy every file.
double plainCopy(const std::string& data, const std::string& target) {
    double start = now();
    CreateDirectoryA(target.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE listing = FindFirstFileA((data + "\\*.*").c_str(), &entry);
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        CopyFileA((data + "\\" + entry.cFileName).c_str(), (target + "\\" + entry.cFileName).c_str(), FALSE);
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
    return now() - start;
}

// One installation into chosen on a machine of its own: AutoCAD 2014 in acadFolder, nothing else.
double installation(const std::string& chosen, const std::string& acadFolder, HWND bar) {
    RegistrySandbox sandbox;
    const std::string product = "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804";
    regSetString(HKEY_LOCAL_MACHINE, product, "AcadLocation", acadFolder);
    regSetString(HKEY_LOCAL_MACHINE, product, "ProductName", "AutoCAD 2014");
    regCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    CProgressCtrl progress;
    progress.m_hWnd = bar;
    progress.SetPos(0);
    bool acadWarningPending = false;
    DialogObserver observer(progress, acadWarningPending, [] {});  // the dialog's own
    InstallRequest request;
    request.chosenFolder = chosen;
    request.releases.fill(1);
    SetupLog log(userLogPath(), SetupLog::Mode::Append);  // as SetUp.exe keeps it
    double start = now();
    InstallOutcome outcome = install(request, observer, log);
    double elapsed = now() - start;
    if (outcome.result != InstallOutcome::Result::Installed || !outcome.failures.empty())
        std::printf("installation not complete: result %d, %zu failures\n", static_cast<int>(outcome.result),
                    outcome.failures.size());
    return elapsed;
}

bool sameFiles(const std::string& a, const std::string& b, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        std::string left, right;
        if (!readFile(a + "\\" + name, left) || !readFile(b + "\\" + name, right) || left != right)
            return false;
    }
    return true;
}

HWND createProgressBar(DWORD visibility) {
    return CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP | visibility, 0, 0, 300, 20, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    // The dialog's bar is on screen while it installs; a hidden one shows what drawing costs.
    HWND shownBar = createProgressBar(WS_VISIBLE);
    HWND hiddenBar = createProgressBar(0);
    TempFolder root;
    std::string installer = root / "installer", acad = root / "acad";
    CreateDirectoryA(installer.c_str(), nullptr);
    CreateDirectoryA(acad.c_str(), nullptr);
    std::vector<std::string> names = writeDataFolder(installer + "\\Data");
    overrideModuleFilePath(installer + "\\SetUp.exe");
    setMessageBoxHandler(countAndIgnore);
    SetEnvironmentVariableA("APPDATA", (root / "appdata").c_str());

    plainCopy(installer + "\\Data", root / "warm");  // reads the sources once into the cache
    removeTree(root / "warm");
    std::vector<double> plain, shown, hidden;
    // Four rounds, the order switching each round so that none always runs first.
    for (int round = 0; round < 4; ++round) {
        if (round % 2) shown.push_back(installation(root / "shown", acad, shownBar));
        plain.push_back(plainCopy(installer + "\\Data", root / "plain"));
        if (round % 2 == 0) shown.push_back(installation(root / "shown", acad, shownBar));
        hidden.push_back(installation(root / "hidden", acad, hiddenBar));
        if (round == 0 && !sameFiles(root / "plain", root / "shown\\T-DodudEdiv", names)) {
            std::printf("installed files differ from the plain copy\n");
            return 1;
        }
        for (const char* copy : {"plain", "shown", "hidden"}) removeTree(root / copy);
    }
    DestroyWindow(shownBar);
    DestroyWindow(hiddenBar);
    std::printf(
        "200 files, 200 MB: install() %.0f ms (bar shown), %.0f ms (bar hidden), "
        "CopyFileA loop %.0f ms, %d message boxes\n",
        median(shown) * 1000, median(hidden) * 1000, median(plain) * 1000, boxesShown);
    std::printf("row|install(), 200 files, 200 MB, bar shown (ms) vs CopyFileA loop|%.0f|%.0f|1.5\n",
                median(shown) * 1000, median(plain) * 1000);
    std::printf("row|install(), same, bar hidden (ms) vs CopyFileA loop|%.0f|%.0f|1.5\n",
                median(hidden) * 1000, median(plain) * 1000);
    return boxesShown == 0 ? 0 : 1;
}
