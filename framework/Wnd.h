// A window object over an HWND: child-control helpers, subclassing, and command dispatch
// keyed by control id through a per-class message map.
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
    // Command notifications (WM_COMMAND); true when the message map handled it.
    virtual bool OnCommand(int id, int notifyCode);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

   private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC originalProc_ = nullptr;
};

// One entry of a message map: a command notification code from one control id.
template <class Owner>
struct CommandEntry {
    int notifyCode;
    int controlId;
    void (Owner::*handler)();
};

// Runs the first entry of a message map that matches the id and notification code.
template <class Owner, size_t Count>
bool dispatchCommand(Owner* owner, const CommandEntry<Owner> (&map)[Count], int id, int notifyCode) {
    for (const CommandEntry<Owner>& entry : map) {
        if (entry.controlId == id && entry.notifyCode == notifyCode) {
            (owner->*entry.handler)();
            return true;
        }
    }
    return false;
}
