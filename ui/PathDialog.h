// The folder picker: the shell's folder browser with an editable path line added above
// the tree. The user picks a folder or types one (which may not exist yet); on OK the
// typed path is checked for form and a missing folder is created, after asking, level by
// level. The path is handed back only when it passed these checks.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include <string>

#include "framework/Wnd.h"

class CPathDialog;

// Takes over the browser window while it is open: its OK button and the path line's
// change notifications come here; everything else goes on to the shell.
class CPathDialogSub : public CWnd {
   public:
    CPathDialog* dialog = nullptr;

    void OnOkClicked();
    void OnPathEditChanged();

   protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int notifyCode) override;
};

class CPathDialog {
   public:
    // Control id of the added path line.
    static constexpr int IDC_PATH_EDIT = 14148;

    // caption: the browser's title bar; title: the text above the tree; initialPath: the
    // folder selected at start, in the system code page (null: the current directory). The
    // strings are not copied.
    CPathDialog(const wchar_t* caption, const wchar_t* title, const char* initialPath, CWnd* owner);
    CPathDialog(const CPathDialog&) = delete;
    CPathDialog& operator=(const CPathDialog&) = delete;

    // Runs the browser; 1 when a path was accepted, -1 otherwise (never IDCANCEL).
    virtual int ShowModal();
    // The accepted path; meaningful after ShowModal gave 1.
    std::string GetSelectedPath() const { return pathBuffer; }

    // Checks the path and creates it if missing, asking first: 0 the folder exists now,
    // -1 the user declined, 1 invalid path, 2 cannot be created (both with a message).
    static int ConfirmFolder(const char* path);
    // 0 valid (and, unless checkOnly, existing as a folder), 1 invalid form, 2 a level
    // cannot be created or the drive root is missing.
    static int CheckFolderPath(const char* path, bool checkOnly);
    static bool IsValidFolderName(const char* name);

    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM param, LPARAM data);

   private:
    friend class CPathDialogSub;

    void onInitialized(HWND window);
    void onSelectionChanged(LPCITEMIDLIST item);
    void createPathLine();
    bool pathLineHasText() const;
    std::string pathLineText() const;
    void enableOk();

    const wchar_t* caption;
    const char* initialPath;
    char pathBuffer[MAX_PATH] = {};
    // Filled by the shell (Wine writes the full path); not used by the picker.
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browseInfo;
    HWND browserWindow = nullptr;
    HWND ownerWindow = nullptr;
    HWND pathLine = nullptr;
    int accepted = 0;
    CPathDialogSub subclass;
};
