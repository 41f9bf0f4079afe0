// The version as text; see VersionRules.h.
#include "framework/VersionRules.h"

#include "framework/NarrowString.h"

std::string versionText(int yyyymmdd) {
    int year = yyyymmdd / 10000;
    int month = (yyyymmdd % 10000) / 100;
    int day = yyyymmdd % 100;
    std::string text = narrow::format(month >= 10 ? "V%d.%d" : "V%d.0%d", year, month);
    return narrow::format(day >= 10 ? "%s.%d" : "%s.0%d", text.c_str(), day);
}
