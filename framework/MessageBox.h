// Every message box of the program goes through one replaceable function, so that tests
// can script the answers and record the texts. Texts are UTF-16: they read the same on any
// Windows, whatever its ANSI code page.
#pragma once

#include <windows.h>

#include <string>

// owner, text, caption, style -> the button chosen (IDOK, IDABORT, ...).
using MessageBoxHandler = int (*)(HWND owner, const std::wstring& text, const std::wstring& caption,
                                  UINT style);

// Shows a message box through the current handler.
int showMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);

// Replaces the handler; returns the previous one. Passing nullptr restores MessageBoxW.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// The class library's message box: titled with the application's name and owned by the
// window the user works in (the modal dialog's last active popup, else the active window).
int AfxMessageBox(const std::wstring& text, UINT style = MB_OK);
