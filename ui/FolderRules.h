// The form rules of a folder path typed into the folder picker: drive letter, colon and
// backslash, then folder names separated by backslashes, each name acceptable to Windows.
// Pure code (no Windows headers), so that it is tested natively and fuzzed.
//
// Paths are narrow strings in code page 936 (GBK). A double-byte character is always taken
// as a whole: a lead byte 0x81..0xFE and the trail byte after it are one character, even
// when the trail byte is 0x5C ('\') or 0x7C ('|'), as in "乗" (81 5C) or "億" (83 7C). Such
// a trail byte is neither a separator nor a forbidden character, so a Chinese folder name
// is never split in the middle of a character. Text that is not well-formed GBK (a lead
// byte at the end, or before a byte that cannot be a trail byte) and text with a NUL byte
// are invalid: Windows would turn such a name into a different one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace folder {

// The longest path the picker hands on: 259 bytes, so that it fits a 260-byte buffer with
// its terminator. Longer paths are invalid rather than silently cut short.
constexpr std::size_t kMaxPathLength = 259;

// Byte length of the character that starts at `at`: 1, or 2 for a double-byte character;
// 0 when the text is not well-formed there (NUL byte, lone or misplaced lead byte).
std::size_t characterLength(const std::string& text, std::size_t at);

// One folder name (a path component): not empty, well-formed, no tab, space or dot as its
// first or last character, and none of  " * / : < > ? \ |  as a character of its own.
bool isValidFolderName(const std::string& name);

// Checks the form of an absolute folder path and lists the folders it names from the drive
// root down: "C:\a\b" gives "C:\", "C:\a", "C:\a\b". A trailing backslash (other than the
// root's), an empty name, a relative or network path, or an invalid name gives false.
bool folderLevels(const std::string& path, std::vector<std::string>& levels);

// Whether the path holds a ';'. The folder is added to AutoCAD's list of trusted folders,
// whose entries ';' separates: AutoCAD would trust the pieces, not the folder. (A ';' is
// never the trail byte of a double-byte character: those are 0x40 and above.)
bool hasListSeparator(const std::string& path);

}  // namespace folder
