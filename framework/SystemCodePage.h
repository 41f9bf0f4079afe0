// The system's ANSI code page (936 on Chinese Windows): its lead-byte test, for the narrow
// path helpers that take one, so that narrow paths from the file system and the registry are
// split only between whole characters; and the conversion of such text to UTF-16.
#pragma once

#include <string>

bool isSystemLeadByte(unsigned char byte);

// Narrow text of the system code page (paths from the file system, the registry, the user)
// as UTF-16.
std::wstring widenFromSystemCodePage(const std::string& text);
// Narrow text of the given code page (CP_UTF8 ...) as UTF-16.
std::wstring widenFromCodePage(unsigned codePage, const std::string& text);

// UTF-16 text (typed by the user, given by the shell) in the system code page, for the narrow
// file functions; false when a character has no equivalent there: it becomes '?' (never a
// look-alike, which would name another folder).
bool narrowToSystemCodePage(const std::wstring& text, std::string& narrowText);
