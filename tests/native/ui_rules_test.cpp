// The setup dialog's computed texts and the Install command's decisions.
#include <gtest/gtest.h>

#include "acad/ReleaseRules.h"
#include "deploy/TargetFolderRules.h"
#include "framework/NarrowString.h"
#include "framework/VersionRules.h"
#include "ui/RestartRules.h"

TEST(VersionText, MonthAndDayAlwaysHaveTwoDigits) {
    const struct {
        int version;
        const char* text;
    } cases[] = {
        {20260101, "V2026.01.01"}, {20261231, "V2026.12.31"}, {20261009, "V2026.10.09"},
        {20260910, "V2026.09.10"}, {20270100, "V2027.01.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(versionText(c.version), c.text) << c.version;
}

TEST(AcadProcessName, MatchesAnyCaseAndAnySubstring) {
    const struct {
        const char* name;
        bool isAcad;
    } cases[] = {
        {"acad.exe", true},       {"ACAD.EXE", true},    {"Acad.Exe", true},
        {"myacad.exe.bak", true}, {"notacad.exe", true}, {"acad.ex", false},
        {"acadexe", false},       {"", false},           {"accoreconsole.exe", false},
    };
    for (const auto& c : cases) EXPECT_EQ(acad::isAcadProcessName(c.name), c.isAcad) << c.name;
}

TEST(ChosenFolder, DropsOneTrailingBackslashOnly) {
    const struct {
        const char* field;
        const char* chosen;
    } cases[] = {
        {"C:\\Torlen", "C:\\Torlen"},
        {"D:\\Apps\\", "D:\\Apps"},
        {"D:\\Apps\\\\", "D:\\Apps\\"},
        {"\\", ""},
        {"", ""},
        // A double-byte character whose second byte is 0x5C is not a backslash.
        {"D:\\\xB1\x5C", "D:\\\xB1\x5C"},
        {"D:\\\xB1\x5C\\", "D:\\\xB1\x5C"},
    };
    for (const auto& c : cases) EXPECT_EQ(chosenFolder(c.field), c.chosen) << c.field;
    EXPECT_EQ(targetFolderIn("D:\\Apps"), "D:\\Apps\\T-DodudEdiv");
}

TEST(PathField, TheFolderRulesApplyToATypedPath) {
    const struct {
        const char* field;
        PathFieldVerdict verdict;
        const char* chosen;
    } cases[] = {
        {"C:\\Torlen", PathFieldVerdict::Usable, "C:\\Torlen"},
        {"D:\\Apps\\", PathFieldVerdict::Usable, "D:\\Apps"},
        {"D:\\", PathFieldVerdict::Usable, "D:"},
        {"D:\\\xD6\xD0\xCE\xC4", PathFieldVerdict::Usable, "D:\\\xD6\xD0\xCE\xC4"},
        {"", PathFieldVerdict::Empty, ""},
        {"\\", PathFieldVerdict::Empty, ""},
        {"Torlen", PathFieldVerdict::Invalid, "Torlen"},
        {"C:Torlen", PathFieldVerdict::Invalid, "C:Torlen"},
        {"C:", PathFieldVerdict::Invalid, "C:"},
        {"\\\\server\\share", PathFieldVerdict::Invalid, "\\\\server\\share"},
        {"C:\\name.", PathFieldVerdict::Invalid, "C:\\name."},
        {"C:\\name \\sub", PathFieldVerdict::Invalid, "C:\\name \\sub"},
        {"C:\\a|b", PathFieldVerdict::Invalid, "C:\\a|b"},
        {"C:\\a\\\\b", PathFieldVerdict::Invalid, "C:\\a\\\\b"},
        {"C:\\a;b", PathFieldVerdict::ListSeparator, "C:\\a;b"},
        {"C:;", PathFieldVerdict::ListSeparator, "C:;"},
    };
    for (const auto& c : cases) {
        std::string chosen;
        EXPECT_EQ(checkPathField(c.field, chosen), c.verdict) << c.field;
        EXPECT_EQ(chosen, c.chosen) << c.field;
    }
}

// A folder a demand-load key names is taken for the plug-in's own only when it can be one.
TEST(PluginFolder, OnlyAnAbsoluteFolderNamedTDodudEdiv) {
    const struct {
        const char* folder;
        bool ours;
    } cases[] = {
        {"C:\\Torlen\\T-DodudEdiv", true},
        {"d:\\cad\\t-dodudediv", true},
        {"C:\\CAD\\Plugins", false},
        {"C:", false},
        {"C:\\", false},
        {"T-DodudEdiv", false},
        {"\\\\server\\share\\T-DodudEdiv", false},
        {"C:\\T-DodudEdiv\\sub", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isPluginFolderPath(c.folder), c.ours) << c.folder;
}

TEST(NarrowString, FormatsAnyLengthAndComparesWithoutCase) {
    EXPECT_EQ(narrow::format("%s\\%d", "x", 7), "x\\7");
    EXPECT_EQ(narrow::format("%s", std::string(5000, 'q').c_str()).size(), 5000u);
    EXPECT_TRUE(narrow::equalsIgnoreCase("SetUp.EXE", "setup.exe"));
    EXPECT_FALSE(narrow::equalsIgnoreCase("SetUp.EXE", "setup.ex"));
}

namespace {
restart::Choices choices(const std::wstring& folder, std::initializer_list<int> years) {
    restart::Choices made{folder, {}};
    for (int year : years) made.releases[static_cast<std::size_t>(releaseIndex(year))] = 1;
    return made;
}
}  // namespace

// The elevated instance reads back exactly what the first one handed over, whatever the folder
// holds and however Windows quotes the program's name.
TEST(RestartArguments, CarryTheFolderAndTicksWhole) {
    const restart::Choices cases[] = {
        choices(L"C:\\Torlen", {2010}),
        choices(L"D:\\批打印 软件\\😀", {2007, 2014, 2026}),
        choices(L"C:\\Torlen\\", {2009, 2012}),  // a trailing backslash before the closing quote
        choices(L"E:\\a'b,c d--x", {2020}),
    };
    for (const restart::Choices& c : cases) {
        const std::wstring arguments = restart::arguments(c);
        for (const std::wstring program : {L"\"C:\\Program Files\\SetUp.exe\" ", L"SetUp.exe\t "}) {
            restart::Choices read;
            ASSERT_TRUE(restart::read(program + arguments, read))
                << testing::PrintToString(program + arguments);
            EXPECT_EQ(read.folder, c.folder);
            EXPECT_EQ(read.releases, c.releases);
        }
    }
    EXPECT_EQ(restart::arguments(choices(L"C:\\T", {2014, 2009})), L"--elevated-restart \"C:\\T\" 2009,2014");
}

// No other command line is taken for a hand-over: SetUp.exe ignores it as it always did.
TEST(RestartArguments, AnyOtherCommandLineIsIgnored) {
    const std::wstring program = L"\"C:\\x\\SetUp.exe\" ";
    const std::wstring cases[] = {
        L"SetUp.exe",
        L"\"C:\\x\\SetUp.exe\"",
        program + L"/S",
        program + L"--elevated-restart",
        program + L"--elevated-restart \"C:\\T\"",
        program + L"--elevated-restart \"C:\\T\" ",
        program + L"--elevated-restart C:\\T 2010",
        program + L"--elevated-restart \"\" 2010",
        program + L"--elevated-restart \"C:\\T 2010",
        program + L"--elevated-restart \"C:\\T\"2010",
        program + L"--elevated-restart  \"C:\\T\" 2010",
        program + L"--elevated-restart \"C:\\T\" 2006",
        program + L"--elevated-restart \"C:\\T\" 2027",
        program + L"--elevated-restart \"C:\\T\" 2010,2010",
        program + L"--elevated-restart \"C:\\T\" 2010,",
        program + L"--elevated-restart \"C:\\T\" ,2010",
        program + L"--elevated-restart \"C:\\T\" 201O",
        program + L"--elevated-restart \"C:\\T\" 20100",
        program + L"--elevated-restart \"C:\\T\" 2010 ",
        program + L"--elevated-restart \"C:\\T\" 2010 /S",
        program + L"--ELEVATED-RESTART \"C:\\T\" 2010",
        program + L"/S --elevated-restart \"C:\\T\" 2010",
        program + L"--elevated-restart \"C:\\a\tb\" 2010",
        program + L"--elevated-restart \"C:\\" + std::wstring(257, L'x') + L"\" 2010",
    };
    for (const std::wstring& commandLine : cases) {
        restart::Choices read;
        EXPECT_FALSE(restart::read(commandLine, read)) << testing::PrintToString(commandLine);
    }
    restart::Choices longest;
    EXPECT_TRUE(restart::read(program + L"--elevated-restart \"C:\\" + std::wstring(256, L'x') + L"\" 2010",
                              longest));
}
