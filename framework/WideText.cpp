// Pieces of UTF-16 text; see WideText.h.
#include "framework/WideText.h"

#include <windows.h>

std::wstring decimalText(unsigned long number) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return digits;
}

std::wstring windowsErrorText(unsigned long error) {
    wchar_t* message = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = L"错误 " + decimalText(error);
    if (length > 0 && message) {
        std::wstring described(message, length);
        while (!described.empty() && (described.back() == L'\n' || described.back() == L'\r'))
            described.pop_back();
        text += L"：" + described;
    }
    if (message) LocalFree(message);
    return text;
}
