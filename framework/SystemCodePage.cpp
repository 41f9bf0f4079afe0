// The system code page's lead-byte test; see SystemCodePage.h.
#include "framework/SystemCodePage.h"

#include <windows.h>

bool isSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
