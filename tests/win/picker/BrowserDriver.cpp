// The folder picker's UI driver; see BrowserDriver.h.
#include "picker/BrowserDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ui/PathDialog.h"

namespace {

constexpr int kFolderTree = 14145;

// Polls until the condition holds or about `limitMs` passed; gives the last result.
template <class Condition>
bool settles(Condition condition, int limitMs = 2000) {
    for (int i = 0; i < limitMs / 20; ++i) {
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}

BOOL CALLBACK closeWindow(HWND window, LPARAM) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

BrowserDriver::BrowserDriver(const wchar_t* caption, DWORD pickerThread) : pickerThread_(pickerThread) {
    for (int i = 0; i < 500 && !window_; ++i) {
        HWND candidate = FindWindowW(L"#32770", caption);
        if (candidate && GetDlgItem(candidate, CPathDialog::IDC_PATH_EDIT)) {
            window_ = candidate;
        } else {
            Sleep(20);
        }
    }
    // The line is created while the browser initialises: the initial selection follows,
    // the shell may still be filling the tree (slowly on a busy machine), and the window is
    // shown last. Start when the user would: once it is shown with the selection made.
    if (window_) settles([this] { return IsWindowVisible(window_) && !lineText().empty(); }, 10000);
}

std::string BrowserDriver::lineText() const {
    char text[1024] = {};
    GetWindowTextA(item(CPathDialog::IDC_PATH_EDIT), text, sizeof text);
    return text;
}

void BrowserDriver::typeLine(const std::string& text) const {
    SendMessageA(item(CPathDialog::IDC_PATH_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool BrowserDriver::okFollowsLine() const {
    return settles([this] { return okEnabled() == !lineText().empty(); });
}

bool BrowserDriver::focusInLine() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(pickerThread_, &info) && info.hwndFocus == item(CPathDialog::IDC_PATH_EDIT);
}

std::string BrowserDriver::selectedTreeText() const {
    HWND tree = item(kFolderTree);
    char text[MAX_PATH] = {};
    TVITEMA entry = {};
    entry.mask = TVIF_TEXT;
    entry.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    entry.pszText = text;
    entry.cchTextMax = sizeof text;
    if (!entry.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry))) return "";
    return text;
}

std::vector<HTREEITEM> BrowserDriver::treeChildren(HTREEITEM parent) const {
    HWND tree = item(kFolderTree);
    std::vector<HTREEITEM> children;
    if (!parent) {
        children.push_back(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
        return children;
    }
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    auto next = [tree](UINT how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    for (HTREEITEM child = next(TVGN_CHILD, parent); child; child = next(TVGN_NEXT, child)) {
        children.push_back(child);
    }
    return children;
}

void BrowserDriver::selectTreeItem(HTREEITEM entry) const {
    SendMessageA(item(kFolderTree), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(entry));
}

namespace {
struct DriverRun {
    const wchar_t* caption;
    DWORD pickerThread;
    const std::function<void(BrowserDriver&)>* script;
};

DWORD WINAPI driveBrowser(LPVOID context) {
    const DriverRun& run = *static_cast<const DriverRun*>(context);
    BrowserDriver driver(run.caption, run.pickerThread);
    EXPECT_TRUE(driver.found()) << "no browser captioned as the picker";
    if (!driver.found()) {
        // Whatever the picker shows instead must not keep the test waiting.
        EnumThreadWindows(run.pickerThread, closeWindow, 0);
        return 0;
    }
    (*run.script)(driver);
    if (driver.isOpen()) driver.clickCancel();
    return 0;
}
}  // namespace

CPathDialog::Result runPicker(CPathDialog& picker, const wchar_t* caption,
                              const std::function<void(BrowserDriver&)>& script) {
    // A plain Windows thread: the thread library's start routine (setjmp, for pthread_exit)
    // is where 32-bit Wine under QEMU failed most often.
    DriverRun run{caption, GetCurrentThreadId(), &script};
    HANDLE driverThread = CreateThread(nullptr, 0, driveBrowser, &run, 0, nullptr);
    CPathDialog::Result result = picker.ShowModal();
    WaitForSingleObject(driverThread, INFINITE);
    CloseHandle(driverThread);
    return result;
}
