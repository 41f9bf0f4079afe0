// Narrow-string helpers for texts in the system's multibyte code page (936 on the
// installer's target systems): the lead-byte test of code page 936, printf-style formatting
// into growable strings, and comparison without regard to the case of a..z (path rules:
// Paths.h). Pure code: no Windows headers.
#pragma once

#include <cstddef>
#include <string>

namespace narrow {

// Tells whether a byte starts a double-byte character. The default is code page 936
// (GBK), whose lead bytes are 0x81..0xFE; Windows code passes the system's own test.
using LeadByteTest = bool (*)(unsigned char byte);
bool isCp936LeadByte(unsigned char byte);

// printf-style formatting of any length.
std::string format(const char* pattern, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Equality without regard to the case of the letters a..z / A..Z.
bool equalsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace narrow
