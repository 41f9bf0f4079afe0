// Small pieces of UTF-16 text the installer's messages are made of: a number in decimal digits
// (std::to_wstring would bring the whole wide printf into the executables) and a Windows
// error as "错误 5：<the system's words for it>".
#pragma once

#include <string>

std::wstring decimalText(unsigned long number);
std::wstring windowsErrorText(unsigned long error);
