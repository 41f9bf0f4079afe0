// Feeds arbitrary bytes, as a path from the registry or the environment would arrive, to
// the path rules and the deployment's, and checks what they promise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "deploy/DeployRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path(reinterpret_cast<const char*>(data), size);
    const path::LeadByteTest gbk = narrow::isCp936LeadByte;
    std::size_t chars = path::charCount(path, gbk);
    if (chars > path.size() || (path.size() > 0 && chars * 2 < path.size())) std::abort();
    std::string trimmed = path::withoutTrailingSeparator(path, gbk);
    if (path.compare(0, trimmed.size(), trimmed) != 0 || path.size() - trimmed.size() > 1) std::abort();
    std::string folder = path::folderOf(path, gbk);
    if (path.compare(0, folder.size(), folder) != 0) std::abort();
    // The names put back together give the path again.
    std::vector<std::string> parts = path::names(path, gbk);
    std::string joined = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) joined += "\\" + parts[i];
    if (joined != path) std::abort();
    std::string appData = chooseAppDataFolder(true, path, "C:\\Roaming");
    if (appData != "C:\\Roaming" && !path::fitsLimit(userSettingsPath(appData, "Torlen.Ini"), gbk))
        std::abort();
    for (const ReleaseCopy& copy : releaseCopies(!path.empty() && path[0] & 1)) {
        if (copy.sourceName.empty() || copy.destinationName.empty()) std::abort();
    }
    return 0;
}
