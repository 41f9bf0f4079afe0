// SetUpCmd.exe's commands, one function each: what the command line asked for, run without a
// window or a question, answered with an exit code (cli/ExitCodes.h).
#pragma once

#include <string>
#include <vector>

#include "cli/CommandLineRules.h"
#include "engine/Engine.h"

namespace cli {

// Reads the arguments (UTF-16, as Windows passes them), runs the command, gives its exit code.
int runSetUpCmd(const std::vector<std::wstring>& arguments);

// The commands, on a parsed command line; those that change the machine write to the log.
int listReleases(const CommandLine& line);
int reportStatus(const CommandLine& line);
int installPlugin(const CommandLine& line, SetupLog& log);
int uninstall(const CommandLine& line, SetupLog& log);
int setUpForUser(const CommandLine& line, SetupLog& log);
int endPackageRun(const CommandLine& line, SetupLog& log);

}  // namespace cli
