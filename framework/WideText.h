// Small pieces of UTF-16 text the installer's messages are made of: a number in decimal digits
// (std::to_wstring would bring the whole wide printf into the executables), a Windows error as
// "错误 5：<the system's words for it>", and UTF-8, as logs and command lines carry text.
#pragma once

#include <string>

std::wstring decimalText(unsigned long number);
std::wstring windowsErrorText(unsigned long error);

std::string utf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
// Narrow text of the system code page (a path) as UTF-8.
std::string utf8OfSystem(const std::string& systemText);

// Writes text to standard output or standard error: a console gets it through the wide
// functions; a file or a pipe, as deployment tools read it, UTF-8. Nothing when there is none
// (a window program).
void writeOut(const std::wstring& text);
void writeError(const std::wstring& text);
