// The plug-in's folder in a profile's trusted folders; see TrustedEntryItem.h.
#include "acad/TrustedEntryItem.h"

#include <algorithm>

#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"
#include "journal/RegistryItems.h"

namespace {

constexpr const char* kFoundValue = "value";
constexpr const char* kFoundNoValue = "none";
constexpr const char* kFoundNoKey = "key";

// Deletes the Variables key when nothing is left in it.
void deleteIfEmpty(const std::string& variablesKey) {
    const std::size_t slash = variablesKey.find_last_of('\\');
    RegistryKey profile, variables;
    if (slash == std::string::npos ||
        profile.openPath(HKEY_CURRENT_USER, variablesKey.substr(0, slash), KEY_ALL_ACCESS))
        return;
    if (variables.open(profile.get(), variablesKey.substr(slash + 1), KEY_READ) || !variables.isEmpty())
        return;
    variables.close();
    profile.deleteSubKey(variablesKey.substr(slash + 1));
}

}  // namespace

TrustedEntryItem::TrustedEntryItem(std::string variablesKey, std::string folder)
    : variablesKey_(std::move(variablesKey)), folder_(std::move(folder)) {
    store = Store::User;
}

TrustedEntryItem::TrustedEntryItem(Store store, const ItemRecord& recorded)
    : variablesKey_(recorded.path),
      folder_(recorded.detail),
      trustedBefore_(recorded.flag),
      found_(recorded.extra),
      before_(recorded.values) {
    this->store = store;
}

std::string TrustedEntryItem::subject() const {
    return "HKEY_CURRENT_USER\\" + variablesKey_ + "\\TRUSTEDPATHS";
}

// The list with the folder added, written back. A value that is not text is left as it is.
Failure TrustedEntryItem::apply() {
    RegistryKey variables;
    found_ = kFoundNoKey;
    if (variables.openPath(HKEY_CURRENT_USER, variablesKey_, KEY_READ) == ERROR_SUCCESS) {
        std::wstring text;
        DWORD type = REG_SZ;
        found_ = variables.readWide(L"TRUSTEDPATHS", text, &type) ? kFoundValue : kFoundNoValue;
        if (found_ == kFoundValue) before_ = {wideValue("TRUSTEDPATHS", text, type)};
    }
    acad::TrustedList list = acad::readTrustedPaths(variablesKey_);
    if (list.type != REG_SZ && list.type != REG_EXPAND_SZ)
        return {Failure::Action::EditList, subject(), ERROR_INVALID_DATA};
    std::wstring composed =
        acad::composeTrustedPaths(list.text, widenFromSystemCodePage(folder_), acad::upperInvariant);
    trustedBefore_ = composed == list.text;
    if (trustedBefore_) return {};  // nothing to write
    list.text = composed;
    if (DWORD error = acad::writeTrustedPaths(variablesKey_, list))
        return {Failure::Action::EditList, subject(), error};
    return {};
}

UndoResult TrustedEntryItem::undo() {
    if (trustedBefore_) return UndoResult::undone();
    acad::TrustedList list = acad::readTrustedPaths(variablesKey_);
    if (list.type != REG_SZ && list.type != REG_EXPAND_SZ) return UndoResult::undone();
    if (unchangedSinceApplied(list)) return putBack();
    std::wstring kept =
        acad::removeTrustedFolder(list.text, widenFromSystemCodePage(folder_), acad::upperInvariant);
    if (kept == list.text) return UndoResult::undone();
    list.text = kept;
    if (DWORD error = acad::writeTrustedPaths(variablesKey_, list))
        return UndoResult::failed({Failure::Action::EditList, subject(), error});
    return UndoResult::undone();
}

// Whether the list is still what apply() made of what it found.
bool TrustedEntryItem::unchangedSinceApplied(const acad::TrustedList& list) const {
    if (found_.empty()) return false;
    std::wstring beforeText;
    if (found_ == kFoundValue) {
        if (before_.empty()) return false;
        const std::string& bytes = before_.front().bytes;
        beforeText.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        beforeText.erase(std::find(beforeText.begin(), beforeText.end(), L'\0'), beforeText.end());
    }
    return list.text ==
           acad::composeTrustedPaths(beforeText, widenFromSystemCodePage(folder_), acad::upperInvariant);
}

// The value as it was found, or none, and no Variables key when there was none.
UndoResult TrustedEntryItem::putBack() {
    RegistryKey variables;
    LONG status = variables.openPath(HKEY_CURRENT_USER, variablesKey_, KEY_READ | KEY_SET_VALUE);
    if (status == ERROR_SUCCESS)
        status = found_ == kFoundValue ? writeSavedValue(variables, before_.front())
                                       : variables.deleteValue("TRUSTEDPATHS");
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return UndoResult::failed({Failure::Action::EditList, subject(), static_cast<unsigned long>(status)});
    variables.close();
    if (found_ == kFoundNoKey) deleteIfEmpty(variablesKey_);
    return UndoResult::undone();
}

ItemRecord TrustedEntryItem::record() const {
    return {kinds::kTrusted, variablesKey_, folder_, found_, trustedBefore_, before_};
}

WorkItems trustedEntryItems(const std::string& folder) {
    WorkItems items;
    for (const std::string& variablesKey : acad::profileVariablesKeys())
        items.push_back(std::make_unique<TrustedEntryItem>(variablesKey, folder));
    return items;
}
