// A window object over an HWND: child-control helpers, subclassing, and command
// notifications handed to the owning class.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
   public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void showItem(int id, bool visible) const;
    void enableItem(int id, bool enabled) const;
    static std::wstring windowText(HWND window);

    // Takes over an existing window: its messages come to WindowProc first, and what
    // WindowProc leaves goes on to the window's own procedure.
    bool SubclassWindow(HWND window);
    HWND UnsubclassWindow();

    // The owner to use for a window: the given one, or else the running modal dialog.
    static HWND GetSafeOwner(CWnd* parent);

   protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Command notifications (WM_COMMAND); true when handled.
    virtual bool OnCommand(int id, int notifyCode);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

   private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC originalProc_ = nullptr;
};
