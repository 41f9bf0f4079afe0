// Trusted-path registration: adds the target folder to "TRUSTEDPATHS" in every AutoCAD
// profile of the current user, so that AutoCAD loads the plug-in from it without asking.
#include "acad/AcadReleaseTable.h"
#include "acad/RegistryAccess.h"
#include "acad/TrustedPathRules.h"
#include "framework/Handles.h"
#include "framework/SystemCodePage.h"

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

// The folder as the file system compares names: upper-cased by the invariant mapping.
std::wstring upperInvariant(const std::wstring& text) {
    if (text.empty()) return text;
    std::wstring upper(text.size(), L'\0');
    int length = LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()),
                              &upper[0], static_cast<int>(upper.size()));
    return length == static_cast<int>(text.size()) ? upper : acad::upperAscii(text);
}

struct TrustedList {
    bool editable = true;  // false for a value that is not text: it is left as it is
    DWORD type = REG_SZ;
    std::wstring text;
};

// The current list, read whole as UTF-16 whatever its length (a partial read would lose
// entries; a narrow read would turn every character outside the ANSI code page into '?').
// A missing key or value counts as an empty list of type REG_SZ; AutoCAD expands
// %VARIABLE% entries of an expandable list, which stays expandable.
TrustedList readTrustedPaths(const std::string& variablesKey) {
    TrustedList list;
    RegKey variables;
    if (acad::openKeyPath(HKEY_CURRENT_USER, variablesKey, variables.out()) != ERROR_SUCCESS) return list;
    DWORD type = REG_NONE;
    if (!acad::readWideValue(variables.get(), L"TRUSTEDPATHS", list.text, &type)) {
        list.text.clear();
        return list;
    }
    list.editable = type == REG_SZ || type == REG_EXPAND_SZ;
    list.type = type;
    return list;
}

// Creates the key when missing; the text is stored with its terminating zero, as AutoCAD
// stores it.
bool writeTrustedPaths(const std::string& variablesKey, const TrustedList& list) {
    RegKey variables;
    if (acad::createKeyPath(HKEY_CURRENT_USER, variablesKey, variables.out()) != ERROR_SUCCESS) return false;
    return RegSetValueExW(variables.get(), L"TRUSTEDPATHS", 0, list.type,
                          reinterpret_cast<const BYTE*>(list.text.c_str()),
                          static_cast<DWORD>((list.text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

void AcadReleaseTable::addTrustedFolder() {
    // Everything is read before anything is written.
    StringList variablesKeys = findVariablesKeys(findProfileRoots());
    const std::wstring folder = widenFromSystemCodePage(installFolder);
    for (const std::string& variablesKey : variablesKeys) {
        TrustedList list = readTrustedPaths(variablesKey);
        if (list.editable) {
            std::wstring composed = acad::composeTrustedPaths(list.text, folder, upperInvariant);
            if (composed == list.text) continue;  // trusted already: nothing to write
            list.text = composed;
        }
        if (!list.editable || !writeTrustedPaths(variablesKey, list))
            registrationFailures.push_back("HKEY_CURRENT_USER\\" + variablesKey + "\\TRUSTEDPATHS");
    }
}
