// SetUpCmd.exe's output; see Output.h.
#include "cli/Output.h"

#include "framework/SystemCodePage.h"
#include "framework/WideText.h"

namespace cli {

namespace {

std::wstring twoDigits(int value) {
    return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10)) + static_cast<wchar_t>(L'0' + value % 10);
}

std::wstring now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return decimalText(time.wYear) + L"-" + twoDigits(time.wMonth) + L"-" + twoDigits(time.wDay) + L" " +
           twoDigits(time.wHour) + L":" + twoDigits(time.wMinute) + L":" + twoDigits(time.wSecond);
}

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

void writeOut(const std::wstring& text) { writeTo(STD_OUTPUT_HANDLE, text); }
void writeError(const std::wstring& text) { writeTo(STD_ERROR_HANDLE, text); }

Log::Log(const std::wstring& file) {
    if (file.empty()) return;
    file_ = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    usable_ = file_ != INVALID_HANDLE_VALUE;
}

Log::~Log() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void Log::line(const std::wstring& what, const std::string& where, unsigned long error) {
    std::wstring text = now() + L"  " + what;
    if (!where.empty()) text += L"  " + widenFromSystemCodePage(where);
    if (error != 0) text += L"  " + windowsErrorText(error);
    text += L"\r\n";
    if (file_ == INVALID_HANDLE_VALUE) {
        writeError(text);
        return;
    }
    std::string bytes = utf8(text);
    DWORD written = 0;
    WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace cli
