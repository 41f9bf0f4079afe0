// Narrow-string helpers; see NarrowString.h.
#include "framework/NarrowString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace narrow {

bool isCp936LeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

std::string format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list sizing;
    va_copy(sizing, args);
    int length = std::vsnprintf(nullptr, 0, pattern, sizing);
    va_end(sizing);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), pattern, args);
        result.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return result;
}

static char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

}  // namespace narrow
