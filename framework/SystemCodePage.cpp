// The system code page's lead-byte test and conversion; see SystemCodePage.h.
#include "framework/SystemCodePage.h"

#include <windows.h>

bool isSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::wstring widenFromCodePage(unsigned codePage, const std::string& text) {
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::wstring widenFromSystemCodePage(const std::string& text) { return widenFromCodePage(CP_ACP, text); }

bool narrowToSystemCodePage(const std::wstring& text, std::string& narrowText) {
    narrowText.clear();
    if (text.empty()) return true;
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, &lossy);
    if (length <= 0) return false;
    narrowText.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        &narrowText[0], length, nullptr, &lossy);
    return !lossy;
}
