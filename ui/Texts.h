// Every text the installer shows, page by page: our own texts as UTF-16 (they read the same
// on any Windows, whatever its ANSI code page), paths from the system converted from the
// system code page where they are put in.
#pragma once

#include <string>

#include "engine/Engine.h"

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
// What stops the installation before anything is changed, as the dialog says it (empty for what
// the dialog handles otherwise).
std::wstring refusal(const Refusal& refusal);

// --- refusals of Install for want of rights, or while another installer works ------------
// Another SetUp.exe or SetUpCmd.exe holds the installation lock.
extern const wchar_t* const kAnotherInstaller;
// The user declined Windows' prompt for administrator rights; unwritable is the first key or
// folder the installation needs them for.
std::wstring elevationDeclined(const std::string& unwritable);
// The program could not be started again elevated, for the Windows error given.
std::wstring restartFailed(const std::string& unwritable, unsigned long error);
// Elevated (or started elevated by the first instance), the process still cannot write it.
std::wstring withoutRights(const std::string& unwritable, unsigned long error);
// The log's words for them.
std::wstring logAnotherInstaller();
extern const wchar_t* const kLogNoRights;
extern const wchar_t* const kLogRestartedElevated;
extern const wchar_t* const kLogElevationDeclined;
extern const wchar_t* const kLogRestartFailed;
extern const wchar_t* const kLogElevatedWithoutRights;

// An existing chosen folder that others than administrators may change: protect it too?
std::wstring protectChosenFolder(const std::string& folder);

// --- the installing page --------------------------------------------------------------
// The question about something the installation could not do (Abort/Retry/Ignore).
std::wstring failedStep(const Failure& failure);
// After Abort, when the rollback could not put everything back as it was.
std::wstring notPutBack(const FailureLog& failures, const std::wstring& logFile);
// The last message before the finish page, naming the log (when there is one); empty when
// nothing failed.
std::wstring failureReport(const FailureLog& failures, const std::wstring& logFile);

// --- the folder picker ----------------------------------------------------------------
std::wstring pickerAskCreate(const std::string& path);
std::wstring pickerInvalid(const std::string& path);
std::wstring pickerCannotCreate(const std::string& path);
std::wstring pickerListSeparator(const std::string& path);

// --- uninstalling from Programs and Features (SetUp.exe /uninstall) ----------------------
extern const wchar_t* const kConfirmUninstall;
extern const wchar_t* const kCloseAutoCadToUninstall;
extern const wchar_t* const kUninstalled;
std::wstring uninstallDeclined();
std::wstring uninstallNotStarted(unsigned long error);
// Uninstalled, but not all of it: what was kept or failed is in the log.
std::wstring uninstalledPartly(std::size_t failures, const std::wstring& logFile);
// Not uninstalled, nothing changed: the engine's reason, and what it is about.
std::wstring uninstallRefused(const Refusal& refusal);

}  // namespace texts
