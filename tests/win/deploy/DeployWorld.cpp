// The deployment tests' world; see DeployWorld.h.
#include "DeployWorld.h"

#include <sddl.h>

#include "framework/ModulePath.h"

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
    char buffer[32768];
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    wasSet_ = length > 0 && length < sizeof buffer;
    if (wasSet_) previous_.assign(buffer, length);
    SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableA(name_.c_str(), wasSet_ ? previous_.c_str() : nullptr);
}

DeployWorld::DeployWorld()
    : installer(root / "installer"),
      data(installer + "\\Data"),
      chosen(root / "chosen"),
      target(chosen + "\\T-DodudEdiv"),
      appData(root / "appdata"),
      appDataVariable("APPDATA", appData.c_str()) {
    CreateDirectoryA(installer.c_str(), nullptr);
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA(appData.c_str(), nullptr);
    overrideModuleFilePath(installer + "\\SetUp.exe");
}

DeployWorld::~DeployWorld() { overrideModuleFilePath(""); }

bool isReadOnly(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void makeReadOnly(const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }

std::vector<std::string> allowedEntries(const std::string& path) {
    std::vector<std::string> entries;
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<char> buffer(size);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (size == 0 || !GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), size, &size) ||
        !GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted) || !present || !dacl)
        return entries;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header)) || header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        char* sid = nullptr;
        if (!ConvertSidToStringSidA(&ace->SidStart, &sid)) continue;
        char mask[16];
        wsprintfA(mask, "%lx", ace->Mask);
        entries.push_back(std::string(sid) + ":" + mask);
        LocalFree(sid);
    }
    return entries;
}
