// The form rules of a folder path typed into the folder picker or the path field: drive
// letter, colon and backslash, then folder names separated by backslashes, each name
// acceptable to Windows. Pure code (no Windows headers), so that it is tested natively and
// fuzzed.
//
// Paths are narrow strings in the system code page; Windows code passes its lead-byte test,
// tests that of code page 936 (GBK). A double-byte character is always taken as a whole,
// even when its trail byte is 0x5C ('\') or 0x7C ('|'), as in "乗" (81 5C) or "億" (83 7C):
// such a byte is neither a separator nor a forbidden character. Text that is not well-formed
// (a lead byte at the end, or before a byte that cannot be a trail byte) and text with a NUL
// byte are invalid: Windows would turn such a name into a different one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/Paths.h"

namespace folder {

// The longest path the picker hands on: 259 bytes, so that it fits a 260-byte buffer with
// its terminator. Longer paths are invalid rather than silently cut short.
constexpr std::size_t kMaxPathLength = 259;

// One folder name (a path component): not empty, well-formed, no tab, space or dot as its
// first or last character, and none of  " * / : < > ? \ |  as a character of its own.
bool isValidFolderName(const std::string& name, path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

// Checks the form of an absolute folder path and lists the folders it names from the drive
// root down: "C:\a\b" gives "C:\", "C:\a", "C:\a\b". A trailing backslash (other than the
// root's), an empty name, a relative or network path, or an invalid name gives false.
bool folderLevels(const std::string& path, std::vector<std::string>& levels,
                  path::LeadByteTest isLeadByte = narrow::isCp936LeadByte);

// Whether the path holds a ';'. The folder is added to AutoCAD's list of trusted folders,
// whose entries ';' separates: AutoCAD would trust the pieces, not the folder. (A ';' is
// never the trail byte of a double-byte character: those are 0x40 and above.)
bool hasListSeparator(const std::string& path);

}  // namespace folder
