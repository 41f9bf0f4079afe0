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

    // What the browser ended with (never IDCANCEL).
    enum class Result { Accepted = 1, NotAccepted = -1 };
    virtual Result ShowModal();
    // The accepted path; meaningful after ShowModal gave Accepted.
    std::string GetSelectedPath() const { return pathBuffer; }

    // What a typed folder is: usable (valid, and existing as a folder unless only its form was
    // checked), declined by the user (not to be created), of an invalid form, or a level of it
    // cannot be created (or its drive root is missing).
    enum class FolderCheck { Usable = 0, Declined = -1, Invalid = 1, CannotCreate = 2 };
    // Checks the path and creates it if missing, asking first; Invalid and CannotCreate come
    // with a message.
    static FolderCheck ConfirmFolder(const char* path);
    static FolderCheck CheckFolderPath(const char* path, bool checkOnly);
    static bool IsValidFolderName(const char* name);

    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM param, LPARAM data);

   private:
    friend class CPathDialogSub;
    void onOkClicked();
    void onPathEditChanged();

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
    bool accepted = false;
    CPathDialogSub subclass;
};
