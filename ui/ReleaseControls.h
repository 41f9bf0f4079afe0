// The release check boxes of the setup dialog: each box's control id with its release (AutoCAD
// 2010 and 2011 have the ids 1027 and 1026, out of year order), oldest release first.
#pragma once

#include "engine/Engine.h"
#include "res/resource.h"

struct ReleaseBox {
    int year;
    int id;
};

constexpr ReleaseBox kReleaseBoxes[kReleaseCount] = {
    {2007, IDC_ACAD2007}, {2008, IDC_ACAD2008}, {2009, IDC_ACAD2009}, {2010, IDC_ACAD2010},
    {2011, IDC_ACAD2011}, {2012, IDC_ACAD2012}, {2013, IDC_ACAD2013}, {2014, IDC_ACAD2014},
    {2015, IDC_ACAD2015}, {2016, IDC_ACAD2016}, {2017, IDC_ACAD2017}, {2018, IDC_ACAD2018},
    {2019, IDC_ACAD2019}, {2020, IDC_ACAD2020}, {2021, IDC_ACAD2021}, {2022, IDC_ACAD2022},
    {2023, IDC_ACAD2023}, {2024, IDC_ACAD2024}, {2025, IDC_ACAD2025}, {2026, IDC_ACAD2026}};
