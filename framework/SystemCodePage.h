// The lead-byte test of the system's ANSI code page (936 on Chinese Windows), for the narrow
// path helpers that take one: whatever code page the machine runs, narrow paths from the
// file system and the registry are split only between whole characters.
#pragma once

bool isSystemLeadByte(unsigned char byte);
