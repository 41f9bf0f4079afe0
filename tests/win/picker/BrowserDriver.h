// Drives the folder picker the way a user would: the test thread runs CPathDialog::ShowModal
// and a second thread finds the open browser by its caption, types into the path line,
// reads the OK button and clicks. Message boxes are answered by ScriptedMessageBoxes on the
// picker's thread, so a click returns once the picker has fully reacted to it.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/PathDialog.h"

class BrowserDriver {
   public:
    // Waits (up to 10 s) for the browser with this caption and its path line.
    BrowserDriver(const wchar_t* caption, DWORD pickerThread);

    bool found() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    bool isOpen() const { return IsWindow(window_) && IsWindowVisible(window_); }

    std::string lineText() const;
    // WM_SETTEXT, which the edit control reports as EN_CHANGE, as typing does.
    void typeLine(const std::string& text) const;
    bool okEnabled() const { return IsWindowEnabled(item(IDOK)) != 0; }
    // True once OK's state matches the line (enabled exactly when it has text).
    bool okFollowsLine() const;
    bool focusInLine() const;
    void clickOk() const { SendMessageA(item(IDOK), BM_CLICK, 0, 0); }
    void clickCancel() const { SendMessageA(item(IDCANCEL), BM_CLICK, 0, 0); }

    // The folder tree: the selected item's text, all items below one (expanded first).
    std::string selectedTreeText() const;
    std::vector<HTREEITEM> treeChildren(HTREEITEM parent) const;
    void selectTreeItem(HTREEITEM item) const;

   private:
    HWND window_ = nullptr;
    DWORD pickerThread_;
};

// Runs the picker on this thread while `script` drives it from another; the browser is
// cancelled if the script leaves it open. Gives ShowModal's result.
CPathDialog::Result runPicker(CPathDialog& picker, const wchar_t* caption,
                              const std::function<void(BrowserDriver&)>& script);
