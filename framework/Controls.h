// Control objects and GDI objects of the class library: button, progress bar, brush, font.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

// A button bound to its control; its tick state goes through data exchange.
class CButton : public CWnd {
   public:
    // Shows or takes away the shield that marks a command for which Windows will ask for
    // administrator rights.
    void SetShield(bool shown) const;
};

// A progress bar; every message is sent synchronously to the control.
class CProgressCtrl : public CWnd {
   public:
    // Made in a dialog at a rectangle in dialog units (as a template would place it); false when
    // it could not be.
    bool Create(HWND dialog, int id, RECT dialogUnits, DWORD style);
    void SetRange(int lower, int upper) const;
    void SetStep(int step) const;
    void SetPos(int position) const;
    void StepIt() const;
};

// Owns one GDI object and deletes it with the owner.
class CGdiObject {
   public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    HGDIOBJ m_hObject = nullptr;
    void DeleteObject();
};

class CBrush : public CGdiObject {
   public:
    bool CreateSolidBrush(COLORREF colour);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
   public:
    bool CreateFontIndirect(const LOGFONTW& font);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
