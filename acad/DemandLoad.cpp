// The demand-load keys; see DemandLoad.h.
#include "acad/DemandLoad.h"

#include "acad/ReleaseRules.h"
#include "journal/RegistryItems.h"

namespace {
const unsigned long kLoadOnStartUp = 2;  // LOADCTRLS: load when AutoCAD starts
const unsigned long kManaged = 1;        // MANAGED: a .NET assembly
}  // namespace

WorkItems demandLoadItems(const AcadInstallation& installation, int bits, const std::string& installFolder) {
    WorkItems items;
    for (const acad::DemandLoadKey& entry :
         acad::demandLoadKeys(installation.year, bits, installFolder, installation.location)) {
        // "LOADER" is stored without its terminating zero counted, as AutoCAD's own installers
        // and earlier versions of this installer store it.
        std::vector<SavedValue> values = {dwordValue("LOADCTRLS", kLoadOnStartUp),
                                          textValue("LOADER", entry.loader)};
        if (entry.managed) values.push_back(dwordValue("MANAGED", kManaged));
        items.push_back(std::make_unique<KeyBackupItem>(Store::Machine, installation.productKey, entry.path));
        items.push_back(
            std::make_unique<KeyItem>(Store::Machine, installation.productKey, entry.path, values));
    }
    return items;
}
