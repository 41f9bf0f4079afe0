// The installation's log; see SetupLog.h.
#include "journal/SetupLog.h"

#include <windows.h>

#include "journal/LogTexts.h"
#include "framework/BuildConstants.h"
#include "framework/DllSearch.h"
#include "framework/SystemCodePage.h"
#include "framework/VersionRules.h"
#include "framework/WideText.h"

namespace {

std::wstring twoDigits(unsigned value) {
    return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10 % 10)) +
           static_cast<wchar_t>(L'0' + value % 10);
}

std::wstring now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return decimalText(time.wYear) + L"-" + twoDigits(time.wMonth) + L"-" + twoDigits(time.wDay) + L" " +
           twoDigits(time.wHour) + L":" + twoDigits(time.wMinute) + L":" + twoDigits(time.wSecond);
}

// The version Windows really is: GetVersionEx answers as the program's manifest allows, the
// kernel's own call does not.
std::wstring windowsVersion() {
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    auto getVersion = systemExport<GetVersion>("ntdll.dll", "RtlGetVersion");
    if (!getVersion || getVersion(&info) != 0) return L"Windows ?";
    return L"Windows " + decimalText(info.dwMajorVersion) + L"." + decimalText(info.dwMinorVersion) + L"." +
           decimalText(info.dwBuildNumber);
}

// Opens the log file itself, never through a link: a log that an administrator's or SYSTEM's
// run writes where another user could have put a symbolic link, a junction's target or a hard
// link in its place would let that user have any file of the machine overwritten. The last
// name is opened as what it is (FILE_FLAG_OPEN_REPARSE_POINT: a link is not followed), and what
// was opened must be an ordinary file with no other name (one link). Replace mode empties it
// only then, rather than truncating whatever CREATE_ALWAYS would have reached. Null when
// refused or not opened.
HANDLE openLogFile(const std::wstring& file, bool append) {
    HANDLE handle = CreateFileW(
        file.c_str(), (append ? FILE_APPEND_DATA : GENERIC_WRITE) | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION opened = {};
    const DWORD notAFile = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    if (!GetFileInformationByHandle(handle, &opened) || (opened.dwFileAttributes & notAFile) ||
        opened.nNumberOfLinks != 1 || (!append && !SetEndOfFile(handle))) {
        CloseHandle(handle);
        return nullptr;
    }
    return handle;
}

}  // namespace

SetupLog::SetupLog(const std::wstring& file, Mode mode) : file_(file) {
    if (file.empty()) return;  // standard error, as the default
    const bool append = mode == Mode::Append;
    HANDLE handle = openLogFile(file, append);
    usable_ = handle != nullptr;
    if (!usable_) return;
    handle_ = handle;
    LARGE_INTEGER size = {};
    if (append && GetFileSizeEx(handle, &size) && size.QuadPart == 0) {
        DWORD written = 0;
        WriteFile(handle, "\xEF\xBB\xBF", 3, &written, nullptr);
    }
}

SetupLog::~SetupLog() {
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

void SetupLog::header(const std::wstring& program) {
    write(L"==== " + now() + L"  " + program + logtexts::editionWords() + L"  " +
          widenFromSystemCodePage(versionText(buildVersion)) + L"  " + windowsVersion() + L"\r\n");
}

void SetupLog::line(const std::wstring& what, const std::string& where, unsigned long error) {
    std::wstring text = now() + L"  " + what;
    if (!where.empty()) text += L"  " + widenFromSystemCodePage(where);
    if (error != 0) text += L"  " + windowsErrorText(error);
    write(text + L"\r\n");
}

void SetupLog::failures(const FailureLog& failures, std::size_t from) {
    for (auto failure = failures.begin() + static_cast<std::ptrdiff_t>(from); failure < failures.end();
         ++failure)
        this->failure(*failure);
}

void SetupLog::failure(const Failure& failure) {
    line(logtexts::failureWords(failure), failure.subject, failure.error);
}

void SetupLog::write(const std::wstring& text) {
    if (!handle_) {
        if (usable_) writeError(text);
        return;
    }
    std::string bytes = utf8(text);
    DWORD written = 0;
    WriteFile(static_cast<HANDLE>(handle_), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}
