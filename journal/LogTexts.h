// The engine's own words: the lines of the installation's log, and the sentences both front
// ends say. Chinese, as the installer's; UTF-16.
#pragma once

#include <cstddef>
#include <string>

#include "journal/Failure.h"

namespace logtexts {

// "（32 位版本）": which edition speaks.
std::wstring editionWords();

// What a failure was ("未能复制文件（已跳过）" ...); the subject and the error follow in the line.
std::wstring failureWords(const Failure& failure);
// Why a run stopped before it changed anything, or could not go on.
std::wstring refusalWords(const Refusal& refusal);
// A failure and what was answered about it.
std::wstring answeredWords(const Failure& failure, FailureAnswer answer);

// Steps of an installation.
extern const wchar_t* const kCopyingFiles;
std::wstring releaseSkipped(int year);             // 未找到 AutoCAD 2018，跳过
std::wstring installedFor(int year);               // 已安装到 AutoCAD 2014
std::wstring runEnded(std::size_t failures);       // the last line of an installation
extern const wchar_t* const kStoppedAndUndone;     // stopped: everything it changed is put back
extern const wchar_t* const kUndoingRunCutOff;     // a run cut off earlier is undone first
extern const wchar_t* const kHeldForPackage;       // the run waits for its package's commit or rollback
extern const wchar_t* const kPackageRunCommitted;  // the package committed the run
extern const wchar_t* const kNothingChanged;
extern const wchar_t* const kUserStepDone;  // the current user's part done
// Steps of an uninstallation.
extern const wchar_t* const kNoRegistrationFound;
extern const wchar_t* const kPluginFolder;
extern const wchar_t* const kOthersKeyLeft;  // a key named like the plug-in's that names another folder
extern const wchar_t* const kRemovedOrRestored;

// The logon step of an installation for every user, and its removal from every user.
extern const wchar_t* const kUserStepAgainAtLogon;     // not done yet (no profile, or a failure): next logon
extern const wchar_t* const kSystemAccountSkipped;     // SYSTEM's own part is not done
extern const wchar_t* const kInstalledElsewhere;       // the plug-in is installed in another folder
extern const wchar_t* const kUserPartRemoving;         // the plug-in was uninstalled: the user's part goes
extern const wchar_t* const kUserSettingsKept;         // a settings file the user changed stays
extern const wchar_t* const kUsersRegistry;            // the user whose part is taken away (the registry)
extern const wchar_t* const kUserNotReached;           // a user's registry that could not be loaded
extern const wchar_t* const kUserWithoutRegistry;      // a profile without a registry file: nothing to remove
extern const wchar_t* const kUserRegistryNotUnloaded;  // a user's registry that stayed loaded after the visit
extern const wchar_t* const kUserLeftForLogon;         // a user's part left for their next logon
extern const wchar_t* const kUserItemRefused;          // an item of a user's record not acted on
extern const wchar_t* const kLogonStepStays;           // the logon program stays for those users
extern const wchar_t* const kRemovedAfterExit;         // the running program, removed once it has ended

// Another installer (SetUp.exe or SetUpCmd.exe) is installing on this machine.
extern const wchar_t* const kAnotherInstaller;

}  // namespace logtexts
