// Dialog data exchange: one routine binds members to controls for both directions, a pull
// (controls to members) and a push (members to controls).
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
   public:
    CDataExchange(CWnd* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;
    HWND control(int id) const;
};

// Binds a control object to the dialog's control once; later exchanges leave it bound.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Tick state of a check box: 0 unticked, 1 ticked (2 indeterminate).
void DDX_Check(CDataExchange* dx, int id, int& value);
// Window text of a control: our own texts as UTF-16; a path the user types or picks as
// narrow text in the system code page (a character it lacks reads as '?', which no folder
// name may hold, rather than as a look-alike that would name another folder).
void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
