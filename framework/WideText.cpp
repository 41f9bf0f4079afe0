// Pieces of UTF-16 text; see WideText.h.
#include "framework/WideText.h"

#include <windows.h>

#include "framework/SystemCodePage.h"

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

std::string utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], length,
                            nullptr, nullptr);
    return bytes;
}

std::wstring fromUtf8(const std::string& text) { return widenFromCodePage(CP_UTF8, text); }

std::string utf8OfSystem(const std::string& systemText) { return utf8(widenFromSystemCodePage(systemText)); }

namespace {
void writeTo(DWORD which, const std::wstring& text) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string bytes = utf8(text);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
}  // namespace

void writeOut(const std::wstring& text) { writeTo(STD_OUTPUT_HANDLE, text); }
void writeError(const std::wstring& text) { writeTo(STD_ERROR_HANDLE, text); }
