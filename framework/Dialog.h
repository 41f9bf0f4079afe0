// A modal dialog from a dialog template resource: initialisation, data exchange, the OK
// and Cancel commands, control-colour requests and message-map dispatch.
#pragma once

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class CDialog : public CWnd {
   public:
    CDialog(int templateId, CWnd* parent);
    ~CDialog() override;

    // Runs the dialog modally; gives the value passed to EndDialog (IDOK, IDCANCEL) or -1
    // when the window could not be created.
    virtual INT_PTR DoModal();

    // Pull (true: controls to members) or push (false: members to controls).
    bool UpdateData(bool saveAndValidate = true);

    // The window of the dialog running modally right now (the innermost), or null.
    static HWND activeModalWindow();

    virtual void OnOK();
    virtual void OnCancel();

   protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();
    // Control-colour requests of the dialog and its controls; null leaves the default.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    // The dialog is about to be shown or hidden. A modal dialog is first shown when its message
    // loop finds the queue empty: a message posted during initialisation is handled before.
    virtual void OnShowWindow(bool show);
    void EndDialog(INT_PTR result);

   private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND parent_;
    HWND previousModal_ = nullptr;
};
