// Fuzzes the rules that take registry texts: the product-name year test, the trailing
// backslash of a location, and trusted-path composition.
#include <cstddef>
#include <cstdint>
#include <string>

#include "acad/ReleaseRules.h"
#include "acad/TrustedPathRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t split = text.find('\n');
    std::string folder = split == std::string::npos ? "D:\\Plot" : text.substr(split + 1);
    std::string list = text.substr(0, split);

    int year = acad::releaseYearOfProductName(list, acad::kLastYear);
    if (year != 0 && (year < acad::kFirstYear || year > acad::kLastYear)) __builtin_trap();

    std::string path = list;
    acad::dropTrailingBackslash(path, narrow::isCp936LeadByte);
    if (path.size() + 1 < list.size()) __builtin_trap();

    std::string composed = acad::composeTrustedPaths(list, folder, narrow::isCp936LeadByte);
    // A list of 3 bytes or more is never shortened: no entry is lost.
    if (list.size() > 2 && composed.size() < list.size()) __builtin_trap();
    return 0;
}
