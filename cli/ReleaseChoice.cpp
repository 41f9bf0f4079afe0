// The releases a command works on; see ReleaseChoice.h.
#include "cli/ReleaseChoice.h"

#include "framework/BuildConstants.h"

namespace cli {

bool ReleaseChoice::any() const {
    for (int selected : selection)
        if (selected) return true;
    return false;
}

ReleaseChoice chooseReleases(const AcadInstallations& installations, const std::vector<int>& namedYears) {
    ReleaseChoice choice;
    ReleaseSelection found{};
    for (int year = kFirstReleaseYear; year <= kLastReleaseYear; ++year)
        found[releaseIndex(year)] = acad::editionServes(year, platformBits) && wasFound(installations, year);
    if (namedYears.empty()) {
        choice.selection = found;
        return choice;
    }
    for (int year : namedYears) {
        if (!acad::editionServes(year, platformBits) && choice.unserved == 0) choice.unserved = year;
        if (isSelected(found, year))
            choice.selection[releaseIndex(year)] = 1;
        else
            choice.notFound.push_back(year);
    }
    return choice;
}

ReleaseSelection requestedReleases(const std::vector<int>& namedYears, int& unserved) {
    ReleaseSelection selection{};
    unserved = 0;
    if (namedYears.empty()) selection.fill(1);
    for (int year : namedYears) {
        if (!acad::editionServes(year, platformBits) && unserved == 0) unserved = year;
        selection[releaseIndex(year)] = 1;
    }
    return selection;
}

}  // namespace cli
