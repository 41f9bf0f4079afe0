// Fuzzes the reading of an Active Setup version, which any program can write into the
// registry, and the raising of one: what reads as a version writes back as the same version,
// and the next version is always higher than any registered one below the last.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "users/LogonRules.h"

namespace {
void require(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    unsigned long long milliseconds = 0;
    for (std::size_t i = 0; i < 6; ++i) milliseconds = milliseconds << 8 | data[i];
    const unsigned year = 2000u + data[6];
    const std::string registered(reinterpret_cast<const char*>(data + 7), size - 7);
    logon::ComponentVersion before, again, next;
    if (logon::parseVersion(registered, before)) {
        require(logon::parseVersion(logon::versionText(before), again));
        require(logon::versionText(again) == logon::versionText(before));
    }
    require(logon::parseVersion(logon::nextVersion(year, milliseconds, registered), next));
    const bool atTheTop = before.fields[0] == 0xFFFF && before.fields[1] == 0xFFFF &&
                          before.fields[2] == 0xFFFF && before.fields[3] == 0xFFFF;
    if (logon::parseVersion(registered, before) && !atTheTop) require(logon::isLower(before, next));
    return 0;
}
