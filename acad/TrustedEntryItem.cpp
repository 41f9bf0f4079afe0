// The plug-in's folder in a profile's trusted folders; see TrustedEntryItem.h.
#include "acad/TrustedEntryItem.h"

#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "framework/SystemCodePage.h"

TrustedEntryItem::TrustedEntryItem(std::string variablesKey, std::string folder)
    : variablesKey_(std::move(variablesKey)), folder_(std::move(folder)) {
    store = Store::User;
}

TrustedEntryItem::TrustedEntryItem(Store store, const ItemRecord& recorded)
    : variablesKey_(recorded.path), folder_(recorded.detail), trustedBefore_(recorded.flag) {
    this->store = store;
}

std::string TrustedEntryItem::subject() const { return "HKEY_CURRENT_USER\\" + variablesKey_ + "\\TRUSTEDPATHS"; }

// The list with the folder added, written back. A value that is not text is left as it is.
Failure TrustedEntryItem::apply() {
    acad::TrustedList list = acad::readTrustedPaths(variablesKey_);
    if (list.type != REG_SZ && list.type != REG_EXPAND_SZ) return {Failure::Action::EditList, subject(), ERROR_INVALID_DATA};
    std::wstring composed =
        acad::composeTrustedPaths(list.text, widenFromSystemCodePage(folder_), acad::upperInvariant);
    trustedBefore_ = composed == list.text;
    if (trustedBefore_) return {};  // nothing to write
    list.text = composed;
    if (DWORD error = acad::writeTrustedPaths(variablesKey_, list)) return {Failure::Action::EditList, subject(), error};
    return {};
}

UndoResult TrustedEntryItem::undo() {
    if (trustedBefore_) return UndoResult::undone();
    acad::TrustedList list = acad::readTrustedPaths(variablesKey_);
    if (list.type != REG_SZ && list.type != REG_EXPAND_SZ) return UndoResult::undone();
    std::wstring kept = acad::removeTrustedFolder(list.text, widenFromSystemCodePage(folder_), acad::upperInvariant);
    if (kept == list.text) return UndoResult::undone();
    list.text = kept;
    if (DWORD error = acad::writeTrustedPaths(variablesKey_, list))
        return UndoResult::failed({Failure::Action::EditList, subject(), error});
    return UndoResult::undone();
}

ItemRecord TrustedEntryItem::record() const {
    return {kinds::kTrusted, variablesKey_, folder_, "", trustedBefore_, {}};
}

WorkItems trustedEntryItems(const std::string& folder) {
    WorkItems items;
    for (const std::string& variablesKey : acad::profileVariablesKeys())
        items.push_back(std::make_unique<TrustedEntryItem>(variablesKey, folder));
    return items;
}
