// Trusted-path registration: adds the target folder to "TRUSTEDPATHS" in every AutoCAD
// profile of the current user, so that AutoCAD loads the plug-in from it without asking.
#include "acad/AcadReleaseTable.h"
#include "acad/RegistryAccess.h"
#include "acad/TrustedPathRules.h"
#include "framework/Handles.h"

namespace {

// Pass 1: "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles" for every version and
// product key of the current user, whatever release they belong to.
StringList findProfileRoots() {
    StringList profileRoots;
    RegKey user;
    if (RegOpenKeyA(HKEY_CURRENT_USER, nullptr, user.out()) != ERROR_SUCCESS) return profileRoots;
    RegKey autocad;
    if (RegOpenKeyExA(user.get(), "SOFTWARE\\Autodesk\\AutoCAD", 0, KEY_READ, autocad.out()) != ERROR_SUCCESS)
        return profileRoots;
    DWORD versionCount = acad::subKeyCount(autocad.get());
    for (DWORD index = 0; index < versionCount; ++index) {
        std::string versionName;
        if (!acad::subKeyNameAt(autocad.get(), index, versionName)) continue;
        RegKey version;
        if (RegOpenKeyExA(autocad.get(), versionName.c_str(), 0, KEY_READ, version.out()) != ERROR_SUCCESS)
            continue;
        StringList products;
        listSubKeyNames(version.get(), products);
        for (const std::string& product : products)
            profileRoots.push_back(acad::profileRootPath(versionName, product));
    }
    return profileRoots;
}

// Pass 2: the "Variables" key path of every profile below those roots.
StringList findVariablesKeys(const StringList& profileRoots) {
    StringList variablesKeys;
    RegKey user;
    if (RegOpenKeyA(HKEY_CURRENT_USER, nullptr, user.out()) != ERROR_SUCCESS) return variablesKeys;
    for (const std::string& profileRoot : profileRoots) {
        RegKey profiles;
        if (acad::openKeyPath(user.get(), profileRoot, profiles.out()) != ERROR_SUCCESS) continue;
        StringList profileNames;
        listSubKeyNames(profiles.get(), profileNames);
        for (const std::string& profile : profileNames)
            variablesKeys.push_back(acad::variablesKeyPath(profileRoot, profile));
    }
    return variablesKeys;
}

// The current list, read whole whatever its length (a partial read would lose entries),
// and its type. A missing key or value counts as an empty list of type REG_SZ.
std::string readTrustedPaths(const std::string& variablesKey, DWORD& type) {
    type = REG_SZ;
    std::string list;
    RegKey variables;
    if (acad::openKeyPath(HKEY_CURRENT_USER, variablesKey, variables.out()) != ERROR_SUCCESS) return list;
    DWORD storedType = REG_SZ;
    if (!acad::readValueText(variables.get(), "TRUSTEDPATHS", list, &storedType)) return list;
    // AutoCAD expands %VARIABLE% entries of an expandable list: keep it expandable. Any
    // other type is written back as a plain string.
    if (storedType == REG_EXPAND_SZ) type = REG_EXPAND_SZ;
    return list;
}

// Creates the key when missing. The length excludes the terminating zero, as before.
bool writeTrustedPaths(const std::string& variablesKey, const std::string& list, DWORD type) {
    RegKey variables;
    if (acad::createKeyPath(HKEY_CURRENT_USER, variablesKey, variables.out()) != ERROR_SUCCESS) return false;
    return RegSetValueExA(variables.get(), "TRUSTEDPATHS", 0, type,
                          reinterpret_cast<const BYTE*>(list.c_str()),
                          static_cast<DWORD>(list.size())) == ERROR_SUCCESS;
}

}  // namespace

void AcadReleaseTable::addTrustedFolder() {
    // Everything is read before anything is written.
    StringList variablesKeys = findVariablesKeys(findProfileRoots());
    for (const std::string& variablesKey : variablesKeys) {
        DWORD type = REG_SZ;
        std::string current = readTrustedPaths(variablesKey, type);
        std::string list = acad::composeTrustedPaths(current, installFolder, isSystemLeadByte);
        if (!writeTrustedPaths(variablesKey, list, type))
            registrationFailures.push_back("HKEY_CURRENT_USER\\" + variablesKey + "\\TRUSTEDPATHS");
    }
}
