// Feeds arbitrary bytes, as a path from the registry or the environment would arrive, to
// the deployment's path rules and checks what they promise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "deploy/DeployRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path(reinterpret_cast<const char*>(data), size);
    std::size_t chars = pathCharCount(path);
    if (chars > path.size() || (path.size() > 0 && chars * 2 < path.size())) std::abort();
    std::string trimmed = withoutTrailingBackslash(path);
    if (path.compare(0, trimmed.size(), trimmed) != 0 || path.size() - trimmed.size() > 1) std::abort();
    std::string folder = folderOfPath(path);
    if (path.compare(0, folder.size(), folder) != 0) std::abort();
    std::string appData = chooseAppDataFolder(true, path, "C:\\Roaming");
    if (appData != "C:\\Roaming" && !fitsPathLimit(userSettingsPath(appData, "Torlen.Ini"))) std::abort();
    for (const ReleaseCopy& copy : releaseCopies(!path.empty() && path[0] & 1)) {
        if (copy.sourceName.empty() || copy.destinationName.empty()) std::abort();
    }
    return 0;
}
