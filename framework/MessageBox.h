// Every message box of the program goes through one replaceable function, so that tests
// can script the answers and record the texts, and an unattended run can answer them.
#pragma once

#include <windows.h>

#include <string>

// owner, text, caption, style -> the button chosen (IDOK, IDABORT, ...).
using MessageBoxHandler = int (*)(HWND owner, const std::string& text, const std::string& caption,
                                  UINT style);

// Shows a message box (narrow texts in the system code page) through the current handler.
int showMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style);

// Replaces the handler; returns the previous one. Passing nullptr restores MessageBoxA.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// The class library's message box: titled with the application's name and owned by the
// window the user works in (the modal dialog's last active popup, else the active window).
int AfxMessageBox(const std::string& text, UINT style = MB_OK);
