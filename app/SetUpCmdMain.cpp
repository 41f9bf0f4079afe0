// SetUpCmd.exe's process entry: DLL loading hardened before anything else can load one, as in
// SetUp.exe, then the command line (UTF-16, so that a folder in any script arrives whole).
#include <windows.h>

#include <string>
#include <vector>

#include "cli/Commands.h"
#include "framework/DllSearch.h"

int wmain(int argc, wchar_t** argv) {
    restrictDllSearchToSystemFolder();
    std::vector<std::wstring> arguments(argv + 1, argv + argc);
    // The copy an uninstallation from the plug-in's folder starts to remove the program after it.
    if (!arguments.empty() && arguments[0] == kRemoveAfterExitArgument)
        return finishRemovalAfterExit(arguments);
    return cli::runSetUpCmd(arguments);
}
