// The installation's log; see SetupLog.h.
#include "journal/SetupLog.h"

#include <windows.h>

#include "framework/BuildConstants.h"
#include "framework/DllSearch.h"
#include "framework/LinkSafeFiles.h"
#include "framework/SystemCodePage.h"
#include "framework/VersionRules.h"
#include "framework/WideText.h"
#include "journal/LogTexts.h"

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

}  // namespace

// A log that an administrator's or SYSTEM's run writes where another user could have put a
// symbolic link, a junction or a hard link in its place, or in the place of a folder above it,
// would let that user have any file of the machine overwritten: the file is opened as itself
// under folders held open as themselves (LinkSafeFiles.h), and must be an ordinary file with no
// other name. Replace mode empties it only then, rather than truncating whatever CREATE_ALWAYS
// would have reached.
struct SetupLog::OpenFile {
    UnfollowedFile unfollowed;
    HANDLE handle() const { return unfollowed.file.get(); }
};

SetupLog::SetupLog(const std::wstring& file, Mode mode) : file_(file) {
    if (file.empty()) return;  // standard error, as the default
    const bool append = mode == Mode::Append;
    auto opened = std::make_unique<OpenFile>();
    usable_ =
        openUnfollowed(file, append ? FILE_APPEND_DATA : GENERIC_WRITE, true, opened->unfollowed).ok() &&
        (append || SetEndOfFile(opened->handle()));
    if (!usable_) return;
    open_ = std::move(opened);
    LARGE_INTEGER size = {};
    if (append && GetFileSizeEx(open_->handle(), &size) && size.QuadPart == 0) {
        DWORD written = 0;
        WriteFile(open_->handle(), "\xEF\xBB\xBF", 3, &written, nullptr);
    }
}

SetupLog::SetupLog() = default;

SetupLog::~SetupLog() = default;

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
    if (!open_) {
        if (usable_) writeError(text);
        return;
    }
    std::string bytes = utf8(text);
    DWORD written = 0;
    WriteFile(open_->handle(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
