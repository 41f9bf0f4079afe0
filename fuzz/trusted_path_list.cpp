// Fuzzes trusted-path composition with any TRUSTEDPATHS text a profile may hold and any
// target folder (UTF-16 units from pairs of bytes): no entry is ever lost or changed, the
// result trusts the folder, and registering the same folder twice adds it once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "acad/TrustedPathRules.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

std::wstring unitsOf(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

}  // namespace

// The first byte says where the list ends and the folder begins.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::wstring text = unitsOf(data + 1, size - 1);
    std::size_t split = data[0] % (text.size() + 1);
    std::wstring current = text.substr(0, split);
    std::wstring folder = text.substr(split);

    std::wstring composed = acad::composeTrustedPaths(current, folder);
    if (current.find_first_not_of(L';') == std::wstring::npos) {
        require(composed == folder);
        return 0;
    }
    // The list is kept whole, at the start; at most a separator and the folder follow.
    require(composed.compare(0, current.size(), current) == 0);
    if (composed != current) {
        std::wstring added = composed.substr(current.size());
        if (!added.empty() && added[0] == L';' && current.back() != L';') added.erase(0, 1);
        require(added == acad::upperAscii(folder));
    }
    if (folder.find(L';') == std::wstring::npos && !folder.empty())
        require(acad::trustsFolder(composed, folder));
    require(acad::composeTrustedPaths(composed, folder) == composed ||
            folder.find(L';') != std::wstring::npos || folder.empty());
    return 0;
}
