// Registry set-ups of the acad tests; see AcadRegistry.h.
#include "acad/AcadRegistry.h"

#include "support/Sandbox.h"

HKEY createKeyByNames(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            HKEY next = nullptr;
            RegCreateKeyExA(key ? key : root, path.substr(start, end - start).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS | kStoredView, nullptr, &next, nullptr);
            if (key) RegCloseKey(key);
            key = next;
        }
        start = end + 1;
    }
    return key;
}

void setStringByNames(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
    HKEY key = createKeyByNames(root, path);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void addInstallation(const std::string& keyPath, const std::string& location,
                     const std::string& productName) {
    setStringByNames(HKEY_LOCAL_MACHINE, keyPath, "AcadLocation", location);
    setStringByNames(HKEY_LOCAL_MACHINE, keyPath, "ProductName", productName);
}

bool canOpenForRead(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | kStoredView, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool canSetValue(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, MAXIMUM_ALLOWED | kStoredView, &key) != ERROR_SUCCESS)
        return false;
    DWORD one = 1;
    LONG status = RegSetValueExA(key, "probe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    if (status == ERROR_SUCCESS) RegDeleteValueA(key, "probe");
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void createVolatileKey(HKEY root, const std::string& path) {
    std::size_t last = path.find_last_of('\\');
    if (last != std::string::npos) regCreateKey(root, path.substr(0, last));
    HKEY key = nullptr;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS | kStoredView,
                    nullptr, &key, nullptr);
    RegCloseKey(key);
}
