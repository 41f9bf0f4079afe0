// The current user's AutoCAD profiles; see UserProfiles.h.
#include "acad/UserProfiles.h"

#include "acad/AcadInstallations.h"
#include "acad/TrustedPathRules.h"
#include "framework/Registry.h"

namespace acad {

namespace {

// "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles" for every version and product.
StringList findProfileRoots() {
    StringList profileRoots;
    RegistryKey user, autocad;
    if (user.open(HKEY_CURRENT_USER, "", kDefaultKeyAccess) != ERROR_SUCCESS ||
        autocad.open(user.get(), "SOFTWARE\\Autodesk\\AutoCAD", KEY_READ) != ERROR_SUCCESS)
        return profileRoots;
    DWORD versionCount = autocad.subKeyCount();
    for (DWORD index = 0; index < versionCount; ++index) {
        std::string versionName;
        RegistryKey version;
        if (!autocad.subKeyNameAt(index, versionName) ||
            version.open(autocad.get(), versionName, KEY_READ) != ERROR_SUCCESS)
            continue;
        StringList products;
        listSubKeyNames(version, products);
        for (const std::string& product : products)
            profileRoots.push_back(profileRootPath(versionName, product));
    }
    return profileRoots;
}

}  // namespace

std::vector<std::string> profileVariablesKeys() {
    StringList variablesKeys;
    StringList profileRoots = findProfileRoots();
    RegistryKey user;
    if (user.open(HKEY_CURRENT_USER, "", kDefaultKeyAccess) != ERROR_SUCCESS) return variablesKeys;
    for (const std::string& profileRoot : profileRoots) {
        RegistryKey profiles;
        if (profiles.openPath(user.get(), profileRoot, KEY_READ) != ERROR_SUCCESS) continue;
        StringList profileNames;
        listSubKeyNames(profiles, profileNames);
        for (const std::string& profile : profileNames)
            variablesKeys.push_back(variablesKeyPath(profileRoot, profile));
    }
    return variablesKeys;
}

TrustedList readTrustedPaths(const std::string& variablesKey) {
    TrustedList list;
    RegistryKey variables;
    if (variables.openPath(HKEY_CURRENT_USER, variablesKey, kDefaultKeyAccess) == ERROR_SUCCESS &&
        !variables.readWide(L"TRUSTEDPATHS", list.text, &list.type)) {
        list.text.clear();
        list.type = REG_SZ;
    }
    return list;
}

DWORD writeTrustedPaths(const std::string& variablesKey, const TrustedList& list) {
    RegistryKey variables;
    LONG status = variables.createPath(HKEY_CURRENT_USER, variablesKey, kDefaultKeyAccess);
    if (status != ERROR_SUCCESS) return static_cast<DWORD>(status);
    if (list.text.empty()) {
        status = RegDeleteValueW(variables.get(), L"TRUSTEDPATHS");
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(status);
    }
    return static_cast<DWORD>(variables.writeWide(L"TRUSTEDPATHS", list.text, list.type));
}

std::wstring upperInvariant(const std::wstring& text) {
    if (text.empty()) return text;
    std::wstring upper(text.size(), L'\0');
    int length = LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()),
                              &upper[0], static_cast<int>(upper.size()));
    return length == static_cast<int>(text.size()) ? upper : upperAscii(text);
}

}  // namespace acad
