// SetUpCmd.exe's own texts: its help, the lines its commands add to the log, and what list and
// status print. Chinese, as the installer's; option and command names, and JSON keys, are
// English. The engine's own words (failures, refusals, steps) are the engine's.
#pragma once

#include <string>

#include "cli/CommandLineRules.h"
#include "engine/Engine.h"

namespace cli {

// The usage of SetUpCmd, or of one command.
std::wstring helpText(Command command);

// --- the log --------------------------------------------------------------------------
std::wstring commandStarted(Command command);  // 安装开始（32 位版本）
// The end of a command that changes the machine: done, or done but with the items above failed.
std::wstring commandFinished(Command command, bool allDone);
std::wstring exitCodeLine(int exitCode);
std::wstring unservedWords(int year);  // a year of --releases this edition does not serve
extern const wchar_t* const kDataUnrepresentable;
extern const wchar_t* const kProtectFolderHint;
extern const wchar_t* const kPackageSettingsRefused;  // followed by the reason  // how --protect-folder
                                                      // answers an unsafe chosen folder

// --- list and status --------------------------------------------------------------------
std::wstring releasesFound(bool any);  // the heading of list, or that there is nothing
std::wstring installationState(int year, const std::string& location, bool complete);
std::wstring itemState(const std::string& name, bool present);
extern const wchar_t* const kProfilesHeading;
std::wstring releaseNotFound(int year);
std::wstring statusResult(bool complete);
// The build the installation's record names, or that there is none.
std::wstring installedBuildLine(unsigned long build, bool lastRunFinished);

}  // namespace cli
