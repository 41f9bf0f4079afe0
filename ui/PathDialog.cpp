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
#include "ui/PathDialog.h"

#include <io.h>

#include <vector>

#include "framework/MessageBox.h"
#include "framework/NarrowString.h"
#include "framework/ShellLibrary.h"
#include "ui/FolderRules.h"

namespace {

constexpr int kStatusText = 14147;
constexpr int kFolderTree = 14145;
constexpr UINT kReassertOk = WM_APP + 0x145;

// The path line sits where the status line was: 27..4 pixels above the tree.
constexpr int kLineTopAboveTree = 27;
constexpr int kLineBottomAboveTree = 4;
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;  // 0x50010080

const char* const kAskCreate = "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?";
const char* const kInvalid = "The folder:\n\n%s\n\nis invalid. Please reenter.";
const char* const kCannotCreate = "The folder:\n\n%s\n\ncan not be created. Please double check.";
// In Chinese, as the installer's own messages: this refusal is the installer's, not the
// picker's (the folder itself would be valid).
const char* const kListSeparator =
    "文件夹 %s 含有分号（;）!\n\nAutoCAD "
    "的受信任位置以分号分隔，无法信任这样的文件夹，请选择不含分号的文件夹。";

// Existence as a folder: a file of that name is not a folder to install into.
bool isFolder(const std::string& path) {
    if (_access(path.c_str(), 0) != 0) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const CommandEntry<CPathDialogSub> kMessageMap[] = {
    {BN_CLICKED, IDOK, &CPathDialogSub::OnOkClicked},
    {EN_CHANGE, CPathDialog::IDC_PATH_EDIT, &CPathDialogSub::OnPathEditChanged},
};

}  // namespace

CPathDialog::CPathDialog(const char* captionText, const char* title, const char* initialFolder, CWnd* owner)
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

int CPathDialog::ShowModal() {
    browseInfo.lpfn = &CPathDialog::BrowseCallback;
    browseInfo.lParam = reinterpret_cast<LPARAM>(this);
    browseInfo.pszDisplayName = displayName;
    IMalloc* allocator = nullptr;
    if (FAILED(shell::getMalloc(&allocator)) || !allocator) return -1;
    accepted = 0;
    LPITEMIDLIST item = shell::browseForFolder(&browseInfo);
    if (item) allocator->Free(item);
    allocator->Release();
    browserWindow = nullptr;
    pathLine = nullptr;
    return accepted ? 1 : -1;
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
    if (caption) SetWindowTextA(window, caption);
    subclass.SubclassWindow(window);
    ShowWindow(GetDlgItem(window, kStatusText), SW_HIDE);
    createPathLine();
    char current[MAX_PATH] = {};
    const char* selection = initialPath;
    if (!selection) {
        DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
        if (length == 0 || length >= MAX_PATH) current[0] = '\0';
        selection = current;
    }
    SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(selection));
    // Wine 8 does not find every existing folder it is asked to select (it compares the
    // parsed item with the tree's items including their time stamps, which can differ), and
    // then reports no selection. The line still shows the folder, as it would on Windows.
    if (!pathLineHasText() && selection[0] && selection[1] == ':' && isFolder(selection)) {
        SetWindowTextA(pathLine, selection);
    }
}

void CPathDialog::createPathLine() {
    RECT tree = {};
    GetWindowRect(GetDlgItem(browserWindow, kFolderTree), &tree);
    POINT topLeft = {tree.left, tree.top - kLineTopAboveTree};
    POINT bottomRight = {tree.right, tree.top - kLineBottomAboveTree};
    ScreenToClient(browserWindow, &topLeft);
    ScreenToClient(browserWindow, &bottomRight);
    pathLine = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", kLineStyle, topLeft.x, topLeft.y,
                               bottomRight.x - topLeft.x, bottomRight.y - topLeft.y, browserWindow, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!pathLine) return;
    SetWindowLongPtrA(pathLine, GWLP_ID, IDC_PATH_EDIT);
    ShowWindow(pathLine, SW_SHOW);
    SendMessageA(pathLine, WM_SETFONT, SendMessageA(browserWindow, WM_GETFONT, 0, 0), TRUE);
}

void CPathDialog::onSelectionChanged(LPCITEMIDLIST item) {
    // Old Wine versions report a selection without an item right after initialisation;
    // that says nothing about the selection, so the line keeps what it has.
    if (!item || !browserWindow) return;
    char path[MAX_PATH] = {};
    bool allowed = shell::pathFromIdList(item, path) && path[1] == ':';
    if (!allowed) path[0] = '\0';
    SendMessageA(browserWindow, BFFM_ENABLEOK, 0, allowed);
    if (pathLine) SetWindowTextA(pathLine, path);
    PostMessageA(browserWindow, kReassertOk, 0, 0);
}

bool CPathDialog::pathLineHasText() const { return pathLine && GetWindowTextLengthA(pathLine) > 0; }

void CPathDialog::enableOk() { SendMessageA(browserWindow, BFFM_ENABLEOK, 0, pathLineHasText()); }

int CPathDialog::ConfirmFolder(const char* path) {
    const char* shown = path ? path : "";
    if (folder::hasListSeparator(shown)) {
        AfxMessageBox(narrow::format(kListSeparator, shown), MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    int result = CheckFolderPath(path, true);
    if (result == 0 && !isFolder(shown)) {
        if (AfxMessageBox(narrow::format(kAskCreate, shown), MB_YESNO | MB_ICONQUESTION) != IDYES) return -1;
        result = CheckFolderPath(path, false);
    }
    if (result != 0) {
        AfxMessageBox(narrow::format(result == 1 ? kInvalid : kCannotCreate, shown),
                      MB_OK | MB_ICONEXCLAMATION);
    }
    return result;
}

int CPathDialog::CheckFolderPath(const char* path, bool checkOnly) {
    // The whole path is checked before anything is created, so that an invalid name
    // further down never leaves the levels above it behind.
    std::vector<std::string> levels;
    if (!path || !folder::folderLevels(path, levels)) return 1;
    if (checkOnly) return 0;
    if (!isFolder(levels[0])) return 2;
    for (std::size_t i = 1; i < levels.size(); ++i) {
        CreateDirectoryA(levels[i].c_str(), nullptr);  // fails for an existing folder: fine
        if (!isFolder(levels[i])) return 2;
    }
    return 0;
}

bool CPathDialog::IsValidFolderName(const char* name) { return name && folder::isValidFolderName(name); }

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
    return dispatchCommand(this, kMessageMap, id, notifyCode);
}

void CPathDialogSub::OnPathEditChanged() {
    ::GetWindowTextA(dialog->pathLine, dialog->pathBuffer, MAX_PATH);
    dialog->enableOk();
}

void CPathDialogSub::OnOkClicked() {
    // The whole text, not a cut-off copy: a path too long for the buffer is invalid
    // rather than silently shortened to a different folder.
    std::string text = CWnd::windowText(dialog->pathLine);
    if (CPathDialog::ConfirmFolder(text.c_str()) != 0) {
        ::SetFocus(dialog->pathLine);
        return;
    }
    lstrcpynA(dialog->pathBuffer, text.c_str(), MAX_PATH);
    dialog->accepted = 1;
    ::EndDialog(m_hWnd, 1);
}
