// Release year test, release file table, demand-load key layout, trailing backslash,
// trusted-path composition and removal, and the names the uninstaller takes for the plug-in's.
#include <gtest/gtest.h>

#include "acad/ReleaseRules.h"
#include "acad/TrustedPathRules.h"

using namespace acad;

TEST(ReleaseYearOfProductName, TestsYearsInOrderAndNeverAtTheStart) {
    struct Case {
        const char* name;
        int lastYear;
        int year;
    } cases[] = {
        {"AutoCAD 2010", 2026, 2010},
        {"AutoCAD 2026 - 简体中文 (Simplified Chinese)", 2026, 2026},
        {"2010 AutoCAD", 2026, 0},              // only at position 0
        {"2010 AutoCAD 2010", 2026, 0},         // the first occurrence decides
        {"AutoCAD 2012 for 2010", 2026, 2010},  // earlier year wins
        {"AutoCAD 2011", 2010, 0},              // beyond the root's last year
        {"AutoCAD 2006", 2026, 0},
        {"AutoCAD 2027", 2026, 0},
        {"", 2026, 0},
        {"A2007", 2026, 2007},
    };
    for (const Case& c : cases) EXPECT_EQ(releaseYearOfProductName(c.name, c.lastYear), c.year) << c.name;
}

TEST(DemandLoadKeys, EveryReleaseHasItsModuleAndLibraryYears) {
    // year, module year, library year
    const int table[20][3] = {{2007, 2008, 2007}, {2008, 2008, 2007}, {2009, 2009, 2009}, {2010, 2010, 2010},
                              {2011, 2010, 2010}, {2012, 2010, 2010}, {2013, 2013, 2013}, {2014, 2013, 2013},
                              {2015, 2015, 2013}, {2016, 2015, 2013}, {2017, 2017, 2013}, {2018, 2018, 2013},
                              {2019, 2019, 2013}, {2020, 2019, 2013}, {2021, 2021, 2013}, {2022, 2021, 2013},
                              {2023, 2021, 2013}, {2024, 2021, 2013}, {2025, 2025, 2013}, {2026, 2025, 2013}};
    for (const auto& row : table) {
        int year = row[0];
        auto keys = demandLoadKeys(year, 32, "D:\\Plot", "C:\\Acad");
        ASSERT_EQ(keys.size(), 2u) << year;
        EXPECT_EQ(keys[0].path, "Applications\\TL_DodudEdiv" + std::to_string(year));
        EXPECT_EQ(keys[0].loader, "D:\\Plot\\TL_DodudEdiv" + std::to_string(row[1]) + ".ARX");
        EXPECT_FALSE(keys[0].managed);
        EXPECT_EQ(keys[1].path, "Applications\\Torlen" + std::to_string(year) + "DLLP");
        EXPECT_EQ(keys[1].loader, "C:\\Acad\\ACAD" + std::to_string(row[2]) + "P.dll");
        EXPECT_TRUE(keys[1].managed);
    }
    EXPECT_TRUE(demandLoadKeys(2006, 64, "D:\\Plot", "C:\\Acad").empty());
    EXPECT_TRUE(demandLoadKeys(2027, 64, "D:\\Plot", "C:\\Acad").empty());
}

TEST(DemandLoadKeys, The64EditionAddsOneModuleKeyFor2009And2010Only) {
    for (int year = 2007; year <= 2026; ++year) {
        auto narrowKeys = demandLoadKeys(year, 32, "D:\\Plot", "C:\\Acad");
        auto wideKeys = demandLoadKeys(year, 64, "D:\\Plot", "C:\\Acad");
        if (year != 2009 && year != 2010) {
            ASSERT_EQ(wideKeys.size(), 2u) << year;
            continue;
        }
        ASSERT_EQ(wideKeys.size(), 3u) << year;
        EXPECT_EQ(wideKeys[0].path, narrowKeys[0].path);
        EXPECT_EQ(wideKeys[2].path, narrowKeys[1].path);
        EXPECT_FALSE(wideKeys[1].managed);
    }
    auto keys2009 = demandLoadKeys(2009, 64, "D:\\Plot", "C:\\Acad");
    EXPECT_EQ(keys2009[1].path, "Applications\\TL_DodudEdiv2008");
    EXPECT_EQ(keys2009[1].loader, "D:\\Plot\\TL_DodudEdiv2008.ARX");
    auto keys2010 = demandLoadKeys(2010, 64, "D:\\Plot", "C:\\Acad");
    EXPECT_EQ(keys2010[1].path, "Applications\\TL_DodudEdiv2010_32");
    EXPECT_EQ(keys2010[1].loader, "D:\\Plot\\TL_DodudEdiv2010_32.ARX");
}

TEST(DemandLoadKeys, LongFoldersAreNeverCut) {
    std::string folder = "D:\\" + std::string(400, 'x');
    auto keys = demandLoadKeys(2014, 32, folder, folder);
    EXPECT_EQ(keys[0].loader, folder + "\\TL_DodudEdiv2013.ARX");
    EXPECT_EQ(keys[1].loader, folder + "\\ACAD2013P.dll");
}

TEST(StripTrailingBackslash, RemovesOneSeparatorOnlyAndKeepsALoneOne) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"C:\\Acad\\", "C:\\Acad"},
        {"C:\\Acad\\\\", "C:\\Acad\\"},
        {"C:\\Acad", "C:\\Acad"},
        {"\\", "\\"},
        {"", ""},
        {"Acad\\", "Acad"},
        {"C:\\\x81\x5c", "C:\\\x81\x5c"},  // trail byte 0x5C is part of a character
        {"C:\\\x81\x5c\\", "C:\\\x81\x5c"},
    };
    for (Case& c : cases) {
        std::string path = c.in;
        stripTrailingBackslash(path, narrow::isCp936LeadByte);
        EXPECT_EQ(path, c.out) << c.in;
    }
}

// Each list as composed, then as the uninstaller leaves it (the folder's entries taken out).
TEST(ComposeTrustedPaths, AppendsTheFolderUnlessAnEntryTrustsItAndRemovalUndoesIt) {
    const struct {
        const wchar_t* current;
        const wchar_t* result;
        const wchar_t* removed;
    } cases[] = {
        {L"", L"D:\\Plot", L""},  // no entry: the folder alone, as given
        {L";", L"D:\\Plot", L""},
        {L";;", L"D:\\Plot", L""},
        // Every entry stays as it is, in its own letter case.
        {L".", L".;D:\\PLOT", L"."},
        {L"c:", L"c:;D:\\PLOT", L"c:"},
        {L"c:\\lib;d:\\tools", L"c:\\lib;d:\\tools;D:\\PLOT", L"c:\\lib;d:\\tools"},
        {L"c:\\lib;", L"c:\\lib;D:\\PLOT", L"c:\\lib"},
        {L"%AppData%\\x", L"%AppData%\\x;D:\\PLOT", L"%AppData%\\x"},
        {L"C:\\\uD55C\uAD6D;\u00C9:\\x", L"C:\\\uD55C\uAD6D;\u00C9:\\x;D:\\PLOT",
         L"C:\\\uD55C\uAD6D;\u00C9:\\x"},
        // Whole entries only: a longer folder with the same start is another folder.
        {L"D:\\PLOT\\OLD;C:\\X", L"D:\\PLOT\\OLD;C:\\X;D:\\PLOT", L"D:\\PLOT\\OLD;C:\\X"},
        {L"D:\\PLOTTER", L"D:\\PLOTTER;D:\\PLOT", L"D:\\PLOTTER"},
        {L"D:\\PL\\...", L"D:\\PL\\...;D:\\PLOT", L"D:\\PL\\..."},
        {L"D:\\PLOT.", L"D:\\PLOT.;D:\\PLOT", L"D:\\PLOT."},
        // Trusted already: any letter case, one trailing backslash, recursively from itself
        // or an ancestor. An entry naming the folder itself cannot be told from ours.
        {L"d:\\plot", L"d:\\plot", L""},
        {L"c:\\x;d:\\plot\\", L"c:\\x;d:\\plot\\", L"c:\\x"},
        {L"D:\\PLOT\\...", L"D:\\PLOT\\...", L"D:\\PLOT\\..."},
        {L"d:\\...", L"d:\\...", L"d:\\..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(composeTrustedPaths(c.current, L"D:\\Plot"), c.result) << testing::PrintToString(c.current);
        EXPECT_TRUE(trustsFolder(c.result, L"D:\\Plot")) << testing::PrintToString(c.result);
        EXPECT_EQ(removeTrustedFolder(c.result, L"D:\\Plot"), c.removed) << testing::PrintToString(c.result);
    }
    // Every entry naming the folder goes, first, middle or last, with one separator each.
    EXPECT_EQ(removeTrustedFolder(L"D:\\PLOT;a;d:\\plot\\;b;D:\\Plot", L"D:\\Plot"), L"a;b");
}

TEST(ComposeTrustedPaths, KeepsEveryEntryOfALongList) {
    std::wstring list;
    for (int i = 0; i < 2000; ++i) list += L"C:\\LIB" + std::to_wstring(i) + L";";
    list += L"C:\\LAST";
    EXPECT_EQ(composeTrustedPaths(list, L"D:\\Plot"), list + L";D:\\PLOT");
}

// What the uninstaller takes for the plug-in's own: exactly the names the installer writes.
TEST(PluginNames, OnlyTheInstallersOwnKeysAndFiles) {
    const struct {
        const char* name;
        bool key, module, host;
    } cases[] = {
        {"TL_DodudEdiv2014", true, false, false},
        {"TL_DodudEdiv2010_32", true, false, false},
        {"Torlen2020DLLP", true, false, false},
        {"tl_dodudediv2014", true, false, false},
        {"TL_DodudEdiv2013.ARX", false, true, false},
        {"tl_dodudediv2010_32.arx", false, true, false},
        {"ACAD2013P.dll", false, false, true},
        {"acad2007p.DLL", false, false, true},
        {"TL_DodudEdiv", false, false, false},
        {"TL_DodudEdiv20140", false, false, false},
        {"TL_DodudEdivABCD", false, false, false},
        {"OtherPlugin", false, false, false},
        {"Torlen2020DLL", false, false, false},
        {"ACAD2013.dll", false, false, false},
        {"TL_DodudEdiv2013.ARX.bak", false, false, false},
        {"acad.exe", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(acad::isPluginKeyName(c.name), c.key) << c.name;
        EXPECT_EQ(acad::isPluginModuleName(c.name), c.module) << c.name;
        EXPECT_EQ(acad::isHostModuleName(c.name), c.host) << c.name;
    }
}

TEST(EditionServes, The32EditionEndsWith2016) {
    for (int year = 2006; year <= 2027; ++year) {
        EXPECT_EQ(acad::editionServes(year, 32), year >= 2007 && year <= 2016) << year;
        EXPECT_EQ(acad::editionServes(year, 64), year >= 2007 && year <= 2026) << year;
    }
}
