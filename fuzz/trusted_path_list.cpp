// Fuzzes trusted-path composition with any TRUSTEDPATHS text a profile may hold and any
// target folder: the result is the folder alone, the upper-cased list, or that list with
// the upper-cased folder appended; and registering the same folder twice adds it once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "acad/TrustedPathRules.h"
#include "framework/NarrowString.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

// The first byte says where the list ends and the folder begins.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t split = data[0] % (text.size() + 1);
    std::string current = text.substr(0, split);
    std::string folder = text.substr(split);

    std::string composed = acad::composeTrustedPaths(current, folder, narrow::isCp936LeadByte);
    if (current.size() <= 2) {
        require(composed == folder);
        return 0;
    }
    std::string list = narrow::toUpper(current);
    std::string upperFolder = narrow::toUpper(folder);
    bool kept = composed == list;
    require(kept || composed == list + ";" + upperFolder);
    if (kept) require(list.find(upperFolder) != std::string::npos);
    require(acad::composeTrustedPaths(composed, folder, narrow::isCp936LeadByte) == composed);
    return 0;
}
