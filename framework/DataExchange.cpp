// Dialog data exchange; see DataExchange.h.
#include "framework/DataExchange.h"

#include "framework/SystemCodePage.h"
#include "framework/Wnd.h"

HWND CDataExchange::control(int id) const { return ::GetDlgItem(m_pDlgWnd->m_hWnd, id); }

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (!control.m_hWnd) control.m_hWnd = dx->control(id);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND box = dx->control(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(box, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
    HWND field = dx->control(id);
    if (dx->m_bSaveAndValidate) {
        value = CWnd::windowText(field);
    } else {
        ::SetWindowTextW(field, value.c_str());
    }
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    std::wstring text = widenFromSystemCodePage(value);
    DDX_Text(dx, id, text);
    // A character the code page lacks becomes '?', which the folder rules refuse.
    if (dx->m_bSaveAndValidate) narrowToSystemCodePage(text, value);
}
