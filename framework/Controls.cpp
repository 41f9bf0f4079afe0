// Control and GDI objects; see Controls.h.
#include "framework/Controls.h"

#include <commctrl.h>

namespace {
// The system's shield icon (IDI_SHIELD, named here in UTF-16).
const wchar_t* const kShieldIcon = MAKEINTRESOURCEW(32518);
}  // namespace

// The common controls' buttons of version 6 (the manifest asks for them) draw the shield
// themselves and answer BCM_SETSHIELD with 1. A button that answers 0 has no shield of its own:
// Wine's (in Wine 8 the message falls through to the default window procedure, which answers
// 0). It gets the system's shield icon as its image instead, which a version 6 push button draws
// beside its text, so that the user sees the same mark. A shared system icon is never destroyed.
void CButton::SetShield(bool shown) const {
    if (::SendMessageW(m_hWnd, BCM_SETSHIELD, 0, shown ? TRUE : FALSE) != 0) return;
    HANDLE icon = shown ? ::LoadImageW(nullptr, kShieldIcon, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                       ::GetSystemMetrics(SM_CYSMICON), LR_SHARED)
                        : nullptr;
    ::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

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
