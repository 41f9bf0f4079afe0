// Window object basics; see Wnd.h.
#include "framework/Wnd.h"

#include <vector>

#include "framework/Dialog.h"

namespace {
// The window object is found from the window through a property, so that subclassing
// does not take the window's own user data, which the shell's dialogs use. Every window is
// treated as a Unicode one: messages pass on without conversion through the ANSI code page.
const wchar_t* const kOwnerProperty = L"TorlenCWnd";
}  // namespace

CWnd::~CWnd() { UnsubclassWindow(); }

void CWnd::showItem(int id, bool visible) const { ::ShowWindow(GetDlgItem(id), visible ? SW_SHOW : SW_HIDE); }

void CWnd::enableItem(int id, bool enabled) const { ::EnableWindow(GetDlgItem(id), enabled ? TRUE : FALSE); }

std::wstring CWnd::windowText(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

bool CWnd::SubclassWindow(HWND window) {
    if (!window || originalProc_) return false;
    m_hWnd = window;
    ::SetPropW(window, kOwnerProperty, this);
    originalProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::subclassProc)));
    return originalProc_ != nullptr;
}

HWND CWnd::UnsubclassWindow() {
    HWND window = m_hWnd;
    if (window && originalProc_) {
        if (::IsWindow(window)) {
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
            ::RemovePropW(window, kOwnerProperty);
        }
        originalProc_ = nullptr;
        m_hWnd = nullptr;
    }
    return window;
}

HWND CWnd::GetSafeOwner(CWnd* parent) {
    if (parent && parent->m_hWnd) return parent->m_hWnd;
    return CDialog::activeModalWindow();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && OnCommand(LOWORD(wParam), HIWORD(wParam))) return 0;
    return DefWindowProc(message, wParam, lParam);
}

bool CWnd::OnCommand(int, int) { return false; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (originalProc_) return ::CallWindowProcW(originalProc_, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = static_cast<CWnd*>(::GetPropW(window, kOwnerProperty));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC original = self->originalProc_;
        self->UnsubclassWindow();
        return ::CallWindowProcW(original, window, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}
