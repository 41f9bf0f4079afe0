// The folder picker; see PathDialog.h.
//
// The browser window is the shell's (Windows' or Wine's). What the picker adds: the path
// line (id 14148) where the status line used to be, our own OK handling, and the rule that
// OK is enabled exactly when the path line is not empty. Wine's browser differs from
// Windows' in ways the picker must survive:
// - Wine's template has no control 14148, Windows' may have a hidden edit box with that id;
//   the picker keeps the handle of its own line and never looks it up by id.
// - After every BFFM_SELCHANGED callback Wine sends the browser its own BFFM_ENABLEOK,
//   judged by the shell item alone; that would re-enable OK for an item the picker refused
//   (a file-system folder without drive letter, such as Wine's "/" root) or disable it while
//   the line holds a path. The subclass therefore rewrites every BFFM_ENABLEOK to the path
//   line's state, and a posted message re-asserts that state once the shell has finished
//   reacting to a selection, for a shell that enables OK without the message.
// - Wine writes a full path into the display-name buffer; the buffer is MAX_PATH long and
//   only used during the call.
// The browser is the shell's Unicode one, so that the caption and title read right on any
// Windows; paths are handed on in the system code page, as the file functions take them.
#include "ui/PathDialog.h"

#include <io.h>

#include <vector>

#include "framework/FolderRules.h"
#include "framework/MessageBox.h"
#include "framework/ShellLibrary.h"
#include "framework/SystemCodePage.h"
#include "ui/Texts.h"

namespace {

constexpr int kStatusText = 14147;
constexpr int kFolderTree = 14145;
constexpr UINT kReassertOk = WM_APP + 0x145;

// The path line sits where the status line was: 27..4 pixels above the tree.
constexpr int kLineTopAboveTree = 27;
constexpr int kLineBottomAboveTree = 4;
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;  // 0x50010080

// Existence as a folder: a file of that name is not a folder to install into.
bool isFolder(const std::string& path) {
    if (_access(path.c_str(), 0) != 0) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CPathDialog::CPathDialog(const wchar_t* captionText, const wchar_t* title, const char* initialFolder,
                         CWnd* owner)
    : caption(captionText), initialPath(initialFolder), browseInfo() {
    subclass.dialog = this;
    ownerWindow = CWnd::GetSafeOwner(owner);
    browseInfo.hwndOwner = ownerWindow;
    browseInfo.pidlRoot = nullptr;
    browseInfo.pszDisplayName = nullptr;
    browseInfo.lpszTitle = title;
    browseInfo.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    browseInfo.lpfn = &CPathDialog::BrowseCallback;
}

CPathDialog::Result CPathDialog::ShowModal() {
    browseInfo.lpfn = &CPathDialog::BrowseCallback;
    browseInfo.lParam = reinterpret_cast<LPARAM>(this);
    browseInfo.pszDisplayName = displayName;
    IMalloc* allocator = nullptr;
    if (FAILED(shell::getMalloc(&allocator)) || !allocator) return Result::NotAccepted;
    accepted = false;
    LPITEMIDLIST item = shell::browseForFolder(&browseInfo);
    if (item) allocator->Free(item);
    allocator->Release();
    browserWindow = nullptr;
    pathLine = nullptr;
    return accepted ? Result::Accepted : Result::NotAccepted;
}

int CALLBACK CPathDialog::BrowseCallback(HWND window, UINT message, LPARAM param, LPARAM data) {
    CPathDialog* self = reinterpret_cast<CPathDialog*>(data);
    if (!self) return 0;
    if (message == BFFM_INITIALIZED) {
        self->onInitialized(window);
    } else if (message == BFFM_SELCHANGED) {
        self->onSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(param));
    }
    return 0;
}

void CPathDialog::onInitialized(HWND window) {
    browserWindow = window;
    if (caption) SetWindowTextW(window, caption);
    subclass.SubclassWindow(window);
    ShowWindow(GetDlgItem(window, kStatusText), SW_HIDE);
    createPathLine();
    std::string selection;
    if (initialPath) {
        selection = initialPath;
    } else {
        char current[MAX_PATH] = {};
        DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
        if (length > 0 && length < MAX_PATH) selection = current;
    }
    std::wstring shown = widenFromSystemCodePage(selection);
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(shown.c_str()));
    // Wine 8 does not find every existing folder it is asked to select (it compares the
    // parsed item with the tree's items including their time stamps, which can differ), and
    // then reports no selection. The line still shows the folder, as it would on Windows.
    if (!pathLineHasText() && selection.size() > 1 && selection[1] == ':' && isFolder(selection)) {
        SetWindowTextW(pathLine, shown.c_str());
    }
}

void CPathDialog::createPathLine() {
    RECT tree = {};
    GetWindowRect(GetDlgItem(browserWindow, kFolderTree), &tree);
    POINT topLeft = {tree.left, tree.top - kLineTopAboveTree};
    POINT bottomRight = {tree.right, tree.top - kLineBottomAboveTree};
    ScreenToClient(browserWindow, &topLeft);
    ScreenToClient(browserWindow, &bottomRight);
    pathLine = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kLineStyle, topLeft.x, topLeft.y,
                               bottomRight.x - topLeft.x, bottomRight.y - topLeft.y, browserWindow, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!pathLine) return;
    SetWindowLongPtrW(pathLine, GWLP_ID, IDC_PATH_EDIT);
    ShowWindow(pathLine, SW_SHOW);
    SendMessageW(pathLine, WM_SETFONT, SendMessageW(browserWindow, WM_GETFONT, 0, 0), TRUE);
}

void CPathDialog::onSelectionChanged(LPCITEMIDLIST item) {
    // Old Wine versions report a selection without an item right after initialisation;
    // that says nothing about the selection, so the line keeps what it has.
    if (!item || !browserWindow) return;
    wchar_t path[MAX_PATH] = {};
    bool allowed = shell::pathFromIdList(item, path) && path[1] == L':';
    if (!allowed) path[0] = L'\0';
    SendMessageW(browserWindow, BFFM_ENABLEOK, 0, allowed);
    if (pathLine) SetWindowTextW(pathLine, path);
    PostMessageW(browserWindow, kReassertOk, 0, 0);
}

bool CPathDialog::pathLineHasText() const { return pathLine && GetWindowTextLengthW(pathLine) > 0; }

void CPathDialog::enableOk() { SendMessageW(browserWindow, BFFM_ENABLEOK, 0, pathLineHasText()); }

// The path line's text in the system code page, as the file functions take it; a character
// the code page lacks becomes '?', which no folder name may hold.
std::string CPathDialog::pathLineText() const {
    std::string text;
    narrowToSystemCodePage(CWnd::windowText(pathLine), text);
    return text;
}

CPathDialog::FolderCheck CPathDialog::ConfirmFolder(const char* path) {
    const std::string shown = path ? path : "";
    if (folder::hasListSeparator(shown)) {
        AfxMessageBox(texts::pickerListSeparator(shown), MB_OK | MB_ICONEXCLAMATION);
        return FolderCheck::Invalid;
    }
    FolderCheck result = CheckFolderPath(path, true);
    if (result == FolderCheck::Usable && !isFolder(shown)) {
        if (AfxMessageBox(texts::pickerAskCreate(shown), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return FolderCheck::Declined;
        result = CheckFolderPath(path, false);
    }
    if (result != FolderCheck::Usable) {
        AfxMessageBox(
            result == FolderCheck::Invalid ? texts::pickerInvalid(shown) : texts::pickerCannotCreate(shown),
            MB_OK | MB_ICONEXCLAMATION);
    }
    return result;
}

CPathDialog::FolderCheck CPathDialog::CheckFolderPath(const char* path, bool checkOnly) {
    // The whole path is checked before anything is created, so that an invalid name
    // further down never leaves the levels above it behind.
    std::vector<std::string> levels;
    if (!path || !folder::folderLevels(path, levels, isSystemLeadByte)) return FolderCheck::Invalid;
    if (checkOnly) return FolderCheck::Usable;
    if (!isFolder(levels[0])) return FolderCheck::CannotCreate;
    for (std::size_t i = 1; i < levels.size(); ++i) {
        CreateDirectoryA(levels[i].c_str(), nullptr);  // fails for an existing folder: fine
        if (!isFolder(levels[i])) return FolderCheck::CannotCreate;
    }
    return FolderCheck::Usable;
}

bool CPathDialog::IsValidFolderName(const char* name) {
    return name && folder::isValidFolderName(name, isSystemLeadByte);
}

LRESULT CPathDialogSub::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReassertOk) {
        dialog->enableOk();
        return 0;
    }
    // Whoever asks to enable or disable OK (the picker or the shell), the path line decides.
    if (message == BFFM_ENABLEOK && dialog->pathLine) lParam = dialog->pathLineHasText();
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CPathDialogSub::OnCommand(int id, int notifyCode) {
    if (id == IDOK && notifyCode == BN_CLICKED) {
        dialog->onOkClicked();
        return true;
    }
    if (id == CPathDialog::IDC_PATH_EDIT && notifyCode == EN_CHANGE) {
        dialog->onPathEditChanged();
        return true;
    }
    return false;
}

void CPathDialog::onPathEditChanged() {
    lstrcpynA(pathBuffer, pathLineText().c_str(), MAX_PATH);
    enableOk();
}

void CPathDialog::onOkClicked() {
    // The whole text, not a cut-off copy: a path too long for the buffer is invalid
    // rather than silently shortened to a different folder.
    std::string text = pathLineText();
    if (ConfirmFolder(text.c_str()) != FolderCheck::Usable) {
        ::SetFocus(pathLine);
        return;
    }
    lstrcpynA(pathBuffer, text.c_str(), MAX_PATH);
    accepted = true;
    ::EndDialog(browserWindow, IDOK);
}
