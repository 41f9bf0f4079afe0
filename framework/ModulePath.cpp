// The executable-path seam; see ModulePath.h.
#include "framework/ModulePath.h"

#include <windows.h>

#include "framework/SystemCodePage.h"

namespace {
std::string& overridePath() {
    static std::string path;
    return path;
}
}  // namespace

std::string moduleFilePath() {
    if (!overridePath().empty()) return overridePath();
    char buffer[261] = {};
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    // A path that does not fit is cut by the call; an empty result tells the caller that
    // no folder could be derived rather than handing on a wrong one.
    if (length == 0 || length >= sizeof buffer) return std::string();
    return std::string(buffer, length);
}

std::wstring moduleFileName() {
    if (!overridePath().empty()) return widenFromSystemCodePage(overridePath());
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    return std::wstring(buffer, length);
}

void overrideModuleFilePath(const std::string& path) { overridePath() = path; }
