// The message-box seam; see MessageBox.h.
#include "framework/MessageBox.h"

#include "framework/Application.h"
#include "framework/Dialog.h"

namespace {

int systemMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

MessageBoxHandler currentHandler = systemMessageBox;

}  // namespace

int showMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
    return currentHandler(owner, text, caption, style);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = currentHandler;
    currentHandler = handler ? handler : systemMessageBox;
    return previous;
}

int AfxMessageBox(const std::string& text, UINT style) {
    return showMessageBox(CDialog::activeModalWindow(), text, AfxGetAppName(), style);
}
