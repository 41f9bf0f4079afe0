// The releases a command works on; see ReleaseChoice.h.
#include "cli/ReleaseChoice.h"

#include "acad/ReleaseRules.h"
#include "framework/BuildConstants.h"

namespace cli {

bool ReleaseChoice::any() const {
    for (int selected : selection)
        if (selected) return true;
    return false;
}

ReleaseChoice chooseReleases(const AcadReleaseTable& table, const std::vector<int>& namedYears) {
    ReleaseChoice choice;
    for (int index = 0; index < kReleaseCount; ++index) {
        int year = kFirstReleaseYear + index;
        choice.selection[index] = acad::editionServes(year, platformBits) && !table.locations[index].empty();
    }
    if (namedYears.empty()) return choice;
    ReleaseSelection found = choice.selection;
    choice.selection.fill(0);
    for (int year : namedYears) {
        int index = year - kFirstReleaseYear;
        if (!acad::editionServes(year, platformBits) && choice.unserved == 0) choice.unserved = year;
        if (found[index])
            choice.selection[index] = 1;
        else
            choice.notFound.push_back(year);
    }
    return choice;
}

}  // namespace cli
