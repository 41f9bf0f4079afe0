// SetUpCmd.exe's own texts: its help and the words of its log. Chinese, as the installer's;
// option and command names, and JSON keys, are English.
#pragma once

#include <string>

#include "cli/CommandLineRules.h"
#include "deploy/InstallObserver.h"
#include "ui/InstallRules.h"

namespace cli {

// The usage of SetUpCmd, or of one command.
std::wstring helpText(Command command);

// What a failure was, for a log line ("未能复制文件" ...); the subject follows in the line.
std::wstring failureWords(const Failure& failure);
// Why the installation stopped before anything was written.
std::wstring refusalWords(const Refusal& refusal);

// "（32 位版本）": which edition speaks.
std::wstring editionWords();
// A year named by --releases that this edition does not install for.
std::wstring unservedWords(int year);
// Why the folder given to --folder cannot be used.
std::wstring folderWords(PathFieldVerdict verdict);

}  // namespace cli
