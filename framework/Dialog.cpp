// Modal dialogs; see Dialog.h.
#include "framework/Dialog.h"

namespace {
HWND innermostModal = nullptr;

// A modal dialog that its initialisation did not move is centred on the screen.
void centreOnScreen(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int x = work.left + ((work.right - work.left) - width) / 2;
    int y = work.top + ((work.bottom - work.top) - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

CDialog::CDialog(int templateId, CWnd* parent)
    : templateId_(templateId), parent_(parent ? parent->m_hWnd : nullptr) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    previousModal_ = innermostModal;
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                                     &CDialog::dialogProc, reinterpret_cast<LPARAM>(this));
    innermostModal = previousModal_;
    m_hWnd = nullptr;
    return result;
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return true;
}

HWND CDialog::activeModalWindow() { return innermostModal; }

void CDialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

HBRUSH CDialog::OnCtlColor(HDC, HWND, UINT) { return nullptr; }

void CDialog::OnShowWindow(bool) {}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

INT_PTR CALLBACK CDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_hWnd = window;
        innermostModal = window;
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    return self ? self->handleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            BOOL focusDefault = OnInitDialog();
            centreOnScreen(m_hWnd);
            return focusDefault;
        }
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
            return FALSE;
        case WM_SHOWWINDOW:
            OnShowWindow(wParam != FALSE);
            return FALSE;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORMSGBOX: {
            HWND control = message == WM_CTLCOLORDLG ? m_hWnd : reinterpret_cast<HWND>(lParam);
            return reinterpret_cast<INT_PTR>(OnCtlColor(reinterpret_cast<HDC>(wParam), control, message));
        }
        default:
            return FALSE;
    }
}
