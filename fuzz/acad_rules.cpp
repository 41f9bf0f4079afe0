// Fuzzes the rules that take registry texts: the product-name year test and the trailing
// backslash of a location (trusted-path lists: trusted_path_list.cpp).
#include <cstddef>
#include <cstdint>
#include <string>

#include "acad/ReleaseRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string list = text;

    int year = acad::releaseYearOfProductName(list, kLastReleaseYear);
    if (year != 0 && (year < kFirstReleaseYear || year > kLastReleaseYear)) __builtin_trap();

    std::string path = list;
    acad::stripTrailingBackslash(path, narrow::isCp936LeadByte);
    if (path.size() + 1 < list.size()) __builtin_trap();

    return 0;
}
