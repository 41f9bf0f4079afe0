// Trusted-path registration: adds the target folder to "TRUSTEDPATHS" in every AutoCAD
// profile of the current user, so that AutoCAD loads the plug-in from it without asking.
#include "acad/Registration.h"
#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "deploy/InstallRecord.h"
#include "framework/SystemCodePage.h"

namespace {

// The list with the folder added, written back; 0 or the Windows error. A value that is not
// text is left as it is. trustedBefore tells whether the list trusted the folder already.
DWORD addToList(const std::string& variablesKey, const std::wstring& folder, bool& trustedBefore) {
    acad::TrustedList list = acad::readTrustedPaths(variablesKey);
    if (list.type != REG_SZ && list.type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    std::wstring composed = acad::composeTrustedPaths(list.text, folder, acad::upperInvariant);
    trustedBefore = composed == list.text;
    if (trustedBefore) return ERROR_SUCCESS;  // nothing to write
    list.text = composed;
    return acad::writeTrustedPaths(variablesKey, list);
}

}  // namespace

void addTrustedFolder(const std::string& installFolder, FailureLog& failures, InstallRecorder* recorder) {
    const std::wstring folder = widenFromSystemCodePage(installFolder);
    for (const std::string& variablesKey : acad::profileVariablesKeys()) {
        bool trustedBefore = false;
        if (DWORD error = addToList(variablesKey, folder, trustedBefore))
            failures.push_back(
                {Failure::Action::EditList, "HKEY_CURRENT_USER\\" + variablesKey + "\\TRUSTEDPATHS", error});
        else if (recorder)
            recorder->trusted(variablesKey, installFolder, trustedBefore);
    }
}
