// The message-box seam; see MessageBox.h.
#include "framework/MessageBox.h"

#include "framework/Application.h"
#include "framework/Dialog.h"

namespace {

int systemMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

MessageBoxHandler currentHandler = systemMessageBox;

}  // namespace

int showMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    return currentHandler(owner, text, caption, style);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = currentHandler;
    currentHandler = handler ? handler : systemMessageBox;
    return previous;
}

int AfxMessageBox(const std::wstring& text, UINT style) {
    // Owned by the window the user is working in: the modal dialog's last active popup
    // (such as the shell's folder browser over it), so that the box disables that window.
    HWND owner = CDialog::activeModalWindow();
    owner = owner ? GetLastActivePopup(owner) : GetActiveWindow();
    return showMessageBox(owner, text, AfxGetAppName(), style);
}
