// Narrow paths in the system's multibyte code page (936 on the installer's target systems):
// the one character step that every path rule uses, and on it the last separator, the
// trailing backslash, the folder of a path, its names, and the length limits of the narrow
// file functions. Pure code: no Windows headers; Windows code passes the system's lead-byte
// test (SystemCodePage.h), tests and fuzz targets the one of code page 936.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/NarrowString.h"

namespace path {

using narrow::LeadByteTest;

// Bytes of the character that starts at `at`: 1, or 2 for a lead byte and its trail byte;
// 0 where the text is not well-formed (a NUL byte, a lead byte at the end or before a byte
// that no double-byte code page of Windows takes as a trail byte: below 0x40, 0x7F, 0xFF).
// A trail byte may equal '\' (0x5C) or '|' (0x7C): it still belongs to its character.
std::size_t characterLength(const std::string& text, std::size_t at, LeadByteTest isLeadByte);

// Position of the last backslash that is a character of its own, or npos.
std::size_t lastSeparator(const std::string& text, LeadByteTest isLeadByte);

// The path less one trailing backslash (a backslash character, never a trail byte).
std::string withoutTrailingSeparator(std::string text, LeadByteTest isLeadByte);

// The part before the last backslash; empty when the path has none.
std::string folderOf(const std::string& text, LeadByteTest isLeadByte);

// The names between backslashes, in order; empty names (doubled or trailing backslashes)
// included.
std::vector<std::string> names(const std::string& text, LeadByteTest isLeadByte);

// folder + "\" + name.
std::string join(const std::string& folder, const std::string& name);

// The narrow file functions take at most 259 characters (MAX_PATH less the terminator), and
// a folder that CreateDirectoryA makes must be shorter than 248 characters (room is kept for
// an 8.3 file name). A double-byte character counts as one, as it does in UTF-16.
constexpr std::size_t kMaxPathChars = 259;
constexpr std::size_t kMaxFolderChars = 247;
std::size_t charCount(const std::string& text, LeadByteTest isLeadByte);
bool fitsLimit(const std::string& text, LeadByteTest isLeadByte, bool isFolder = false);

}  // namespace path
