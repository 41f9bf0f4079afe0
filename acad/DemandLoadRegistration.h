// Demand-load registration with the platform width as a parameter, so that the tests of
// one build can check both editions; the program itself passes platformBits.
#pragma once

#include "acad/AcadReleaseTable.h"

void registerReleaseForPlatform(AcadReleaseTable& table, int year, int bits, FailureLog& failures);
