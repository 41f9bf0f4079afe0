// Control and GDI objects; see Controls.h.
#include "framework/Controls.h"

#include <commctrl.h>

#include "framework/DllSearch.h"

namespace {
// The system's shield icon (IDI_SHIELD, named here in UTF-16).
const wchar_t* const kShieldIcon = MAKEINTRESOURCEW(32518);

using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// The progress bar's window class is the common-controls library's, registered once before the
// first bar is made. The library is not one of the DLLs Windows always takes from the system
// folder, so it is not imported (the loader would look beside the executable first) but loaded
// from there; and only when a bar is made, as loading it takes longer than showing the dialog.
void registerCommonControls() {
    static bool done = false;
    if (done) return;
    done = true;
    auto initCommonControls =
        systemExport<InitCommonControlsExFunction>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    if (initCommonControls) initCommonControls(&init);
}
}  // namespace

bool CProgressCtrl::Create(HWND dialog, int id, RECT dialogUnits, DWORD style) {
    registerCommonControls();
    MapDialogRect(dialog, &dialogUnits);
    m_hWnd = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", style | WS_CHILD, dialogUnits.left, dialogUnits.top,
                               dialogUnits.right - dialogUnits.left, dialogUnits.bottom - dialogUnits.top,
                               dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

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
