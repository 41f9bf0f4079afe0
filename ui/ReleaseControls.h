// The release check boxes of the setup dialog: control id per release index (AutoCAD 2010
// and 2011 have the ids 1027 and 1026, out of year order).
#pragma once

#include "acad/AcadReleaseTable.h"

constexpr int kReleaseBoxIds[kReleaseCount] = {1018, 1019, 1020, 1027, 1026, 1028, 1029, 1030, 1031, 1032,
                                               1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042};

// Release indexes 10..19 (AutoCAD 2017..2026) exist only for the 64 edition.
constexpr int kFirst64OnlyRelease = 10;
