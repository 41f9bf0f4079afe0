// Decisions of the Install command that need no Windows: the AutoCAD process name test and
// the target folder formed from the path field.
#pragma once

#include <string>

// True when an executable file name contains "acad.exe", in any letter case.
bool isAcadProcessName(const std::string& exeName);

// The chosen folder with one trailing backslash dropped (a double-byte character whose
// second byte is 0x5C is not a backslash). Empty when nothing usable is left.
std::string chosenFolder(const std::string& pathField);

// The folder the plug-in is installed into: the chosen folder followed by \T-DodudEdiv.
std::string targetFolderIn(const std::string& chosen);
