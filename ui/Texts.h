// Every text the installer shows, page by page: our own texts as UTF-16 (they read the same
// on any Windows, whatever its ANSI code page), paths from the system converted from the
// system code page where they are put in.
#pragma once

#include <string>

#include "acad/Engine.h"

namespace texts {

// Caption of every message of the installer's own.
extern const wchar_t* const kSetupCaption;

// --- the selection page ---------------------------------------------------------------
std::wstring titleCaption(int buildVersion);  // 批打印软件 V2026.01.01
std::wstring platformCaption(int platformBits);
extern const wchar_t* const kCloseAutoCad;
extern const wchar_t* const kEmptyPath;
std::wstring invalidPath(const std::string& field);
std::wstring listSeparatorInPath(const std::string& field);
extern const wchar_t* const kPickerPrompt;  // caption and title of the folder picker
std::wstring refusal(const Refusal& refusal);

// --- the installing page --------------------------------------------------------------
// The question about a failed copy into the target or the per-user folder.
std::wstring copyFailed(const Failure& failure);
// The last message before the finish page, naming the log (when there is one); empty when
// nothing failed.
std::wstring failureReport(const FailureLog& failures, const std::wstring& logFile);

// --- the folder picker ----------------------------------------------------------------
std::wstring pickerAskCreate(const std::string& path);
std::wstring pickerInvalid(const std::string& path);
std::wstring pickerCannotCreate(const std::string& path);
std::wstring pickerListSeparator(const std::string& path);

}  // namespace texts
