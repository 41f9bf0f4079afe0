// The release check boxes of the setup dialog: control id per release index (AutoCAD 2010
// and 2011 have the ids 1027 and 1026, out of year order).
#pragma once

#include "acad/AcadReleaseTable.h"
#include "res/resource.h"

constexpr int kReleaseBoxIds[kReleaseCount] = {
    IDC_ACAD2007, IDC_ACAD2008, IDC_ACAD2009, IDC_ACAD2010, IDC_ACAD2011, IDC_ACAD2012, IDC_ACAD2013,
    IDC_ACAD2014, IDC_ACAD2015, IDC_ACAD2016, IDC_ACAD2017, IDC_ACAD2018, IDC_ACAD2019, IDC_ACAD2020,
    IDC_ACAD2021, IDC_ACAD2022, IDC_ACAD2023, IDC_ACAD2024, IDC_ACAD2025, IDC_ACAD2026};
