// How a run joins the installation's record; see ItemRecord.h.
#include "journal/ItemRecord.h"

#include "framework/NarrowString.h"

namespace kinds {
bool isRunOnly(const std::string& kind) {
    return kind == kFileBackup || kind == kKeyBackup || kind == kValueBackup || kind == kFolderSecurity ||
           kind == kRemovalAfterExit;
}
}  // namespace kinds

bool operator==(const SavedValue& one, const SavedValue& other) {
    return one.name == other.name && one.type == other.type && one.bytes == other.bytes;
}

bool operator==(const ItemRecord& one, const ItemRecord& other) {
    return one.kind == other.kind && one.path == other.path && one.detail == other.detail &&
           one.extra == other.extra && one.flag == other.flag && one.values == other.values;
}

bool sameThing(const ItemRecord& one, const ItemRecord& other) {
    if (one.kind != other.kind || !narrow::equalsIgnoreCase(one.path, other.path)) return false;
    // A key, a value and a trusted entry are named by two fields; a file, an original kept and a
    // folder by their path.
    const bool namedByTwo =
        one.kind == kinds::kKey || one.kind == kinds::kValue || one.kind == kinds::kTrusted;
    return !namedByTwo || narrow::equalsIgnoreCase(one.detail, other.detail);
}

std::vector<ItemRecord> mergeRun(std::vector<ItemRecord> installation, const std::vector<ItemRecord>& run) {
    for (const ItemRecord& item : run) {
        if (kinds::isRunOnly(item.kind)) continue;
        bool known = false;
        for (ItemRecord& earlier : installation) {
            if (!sameThing(earlier, item)) continue;
            if (item.kind == kinds::kFile) earlier.detail = item.detail;
            known = true;
            break;
        }
        if (!known) installation.push_back(item);
    }
    return installation;
}
