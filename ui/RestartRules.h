// The arguments with which SetUp.exe starts itself again with administrator rights: the folder
// in the path field and the ticked releases, so that the new instance opens with the user's
// choices and installs at once. They are no public command line: only the exact form written
// here is read, and any other command line is ignored, as SetUp.exe always ignored it. Pure
// code (no Windows headers).
#pragma once

#include <string>
#include <vector>

#include "engine/Engine.h"

namespace restart {

struct Choices {
    std::wstring folder;          // the path field's text
    ReleaseSelection releases{};  // non-zero: ticked
};

// The arguments (without the program's name) that carry the choices.
std::wstring arguments(const Choices& choices);

// The choices in a whole command line (the program's own name first, as Windows gives it);
// false for any other command line, the choices then left unspecified.
bool read(const std::wstring& commandLine, Choices& choices);

// The uninstall command of the Programs and Features entry: "/uninstall" alone asks the user,
// "/uninstall --confirmed" (the copy the first instance starts elevated) does not ask again.
// Anything else is no uninstall command.
enum class Uninstall { None, Ask, Confirmed };
Uninstall readUninstall(const std::wstring& commandLine);
extern const wchar_t* const kConfirmedUninstall;  // the arguments of the elevated instance

// The arguments after the program's name of a command line both of whose ends are this program:
// separated by blanks, a quoted one running to the next quotation mark (no path holds one, and
// none is escaped). Used for the copy that removes the program after an uninstallation.
std::vector<std::wstring> splitArguments(const std::wstring& commandLine);

}  // namespace restart
