// The plug-in's folder in one AutoCAD profile's list of trusted folders (TRUSTEDPATHS, below
// HKEY_CURRENT_USER), so that AutoCAD loads the plug-in from it without asking; a work item of
// the user's own record. Undone, the entry goes, unless the list already trusted the folder
// before it was added: an entry the user had stays. A list nobody has changed since is put back
// exactly as it was (a value that was not there goes, and a Variables key that was made, when
// nothing else is in it); a list changed since loses only the entry.
#pragma once

#include <string>
#include <vector>

#include "acad/UserProfiles.h"
#include "journal/WorkItem.h"

class TrustedEntryItem : public WorkItem {
   public:
    // variablesKey: "SOFTWARE\Autodesk\AutoCAD\<version>\<product>\Profiles\<profile>\Variables".
    TrustedEntryItem(std::string variablesKey, std::string folder);
    TrustedEntryItem(Store store, const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override;

   private:
    bool unchangedSinceApplied(const acad::TrustedList& list) const;
    UndoResult putBack();

    std::string variablesKey_;
    std::string folder_;
    bool trustedBefore_ = false;
    // What was there before, as recorded: "value" (the value is in before_), "none" (no value),
    // "key" (no Variables key either); empty in records of earlier builds, which did not keep it.
    std::string found_;
    std::vector<SavedValue> before_;
};

// The items that trust the folder in every AutoCAD profile of the current user.
WorkItems trustedEntryItems(const std::string& folder);
