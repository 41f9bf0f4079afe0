// Which AutoCAD releases a command works on: every release discovery found that this edition
// serves, or the years named by --releases.
#pragma once

#include <vector>

#include "engine/Engine.h"

namespace cli {

struct ReleaseChoice {
    ReleaseSelection selection{};  // found and served; named, when years were named
    std::vector<int> notFound;     // named years of which no installation was found
    int unserved = 0;              // a named year this edition does not serve (0: none)
    bool any() const;
};

ReleaseChoice chooseReleases(const AcadInstallations& installations, const std::vector<int>& namedYears);

// What an installation is asked to install for: the years named, or (none named) every release;
// unserved receives a named year this edition does not serve (0: none).
ReleaseSelection requestedReleases(const std::vector<int>& namedYears, int& unserved);

}  // namespace cli
