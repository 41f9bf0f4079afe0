// Trusted-path registration: adds the target folder to "TRUSTEDPATHS" in every AutoCAD
// profile of the current user, so that AutoCAD loads the plug-in from it without asking.
#include "acad/AcadReleaseTable.h"
#include "acad/TrustedPathRules.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"

namespace {

// Pass 1: "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles" for every version and
// product key of the current user, whatever release they belong to.
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
            profileRoots.push_back(acad::profileRootPath(versionName, product));
    }
    return profileRoots;
}

// Pass 2: the "Variables" key path of every profile below those roots.
StringList findVariablesKeys(const StringList& profileRoots) {
    StringList variablesKeys;
    RegistryKey user;
    if (user.open(HKEY_CURRENT_USER, "", kDefaultKeyAccess) != ERROR_SUCCESS) return variablesKeys;
    for (const std::string& profileRoot : profileRoots) {
        RegistryKey profiles;
        if (profiles.openPath(user.get(), profileRoot, KEY_READ) != ERROR_SUCCESS) continue;
        StringList profileNames;
        listSubKeyNames(profiles, profileNames);
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
    DWORD type = REG_SZ;
    std::wstring text;
};

// The current list, read whole as UTF-16 whatever its length (a partial read would lose
// entries; a narrow read would turn every character outside the ANSI code page into '?').
// A missing key or value counts as an empty list of type REG_SZ; AutoCAD expands
// %VARIABLE% entries of an expandable list, which stays expandable.
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

// The list with the folder added, written back; 0 or the Windows error. A value that is not
// text is left as it is. The key is created when missing.
DWORD addToList(const std::string& variablesKey, const std::wstring& folder) {
    TrustedList list = readTrustedPaths(variablesKey);
    if (list.type != REG_SZ && list.type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    std::wstring composed = acad::composeTrustedPaths(list.text, folder, upperInvariant);
    if (composed == list.text) return ERROR_SUCCESS;  // trusted already: nothing to write
    RegistryKey variables;
    LONG status = variables.createPath(HKEY_CURRENT_USER, variablesKey, kDefaultKeyAccess);
    if (status == ERROR_SUCCESS) status = variables.writeWide(L"TRUSTEDPATHS", composed, list.type);
    return static_cast<DWORD>(status);
}

}  // namespace

void AcadReleaseTable::addTrustedFolder(FailureLog& failures) {
    // Everything is read before anything is written.
    StringList variablesKeys = findVariablesKeys(findProfileRoots());
    const std::wstring folder = widenFromSystemCodePage(installFolder);
    for (const std::string& variablesKey : variablesKeys) {
        if (DWORD error = addToList(variablesKey, folder))
            failures.push_back(
                {Failure::Action::EditList, "HKEY_CURRENT_USER\\" + variablesKey + "\\TRUSTEDPATHS", error});
    }
}
