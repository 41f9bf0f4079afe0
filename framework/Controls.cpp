// Control and GDI objects; see Controls.h.
#include "framework/Controls.h"

#include <commctrl.h>

void CProgressCtrl::SetRange(int lower, int upper) const {
    ::SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

void CProgressCtrl::SetStep(int step) const {
    ::SendMessageA(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void CProgressCtrl::SetPos(int position) const {
    ::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CProgressCtrl::StepIt() const { ::SendMessageA(m_hWnd, PBM_STEPIT, 0, 0); }

void CGdiObject::DeleteObject() {
    if (m_hObject) ::DeleteObject(m_hObject);
    m_hObject = nullptr;
}

bool CBrush::CreateSolidBrush(COLORREF colour) {
    DeleteObject();
    m_hObject = ::CreateSolidBrush(colour);
    return m_hObject != nullptr;
}

bool CFont::CreateFontIndirect(const LOGFONTW& font) {
    DeleteObject();
    m_hObject = ::CreateFontIndirectW(&font);
    return m_hObject != nullptr;
}
