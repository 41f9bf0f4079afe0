// The deployment's decisions: which entries are copied where, the files every AutoCAD
// folder receives, the path limit and the per-user folder.
#include <gtest/gtest.h>

#include <string>

#include "deploy/DeployRules.h"

TEST(DeployRules, EntryActionIgnoresLetterCase) {
    struct Case {
        const char* name;
        bool isFolder;
        EntryAction expected;
    } cases[] = {
        {".", true, EntryAction::Skip},
        {"..", true, EntryAction::Skip},
        {"Fonts", true, EntryAction::Skip},
        {"TL_DodudEdiv2010.arx", true, EntryAction::Skip},
        {"setup.exe", false, EntryAction::Skip},
        {"SETUP.EXE", false, EntryAction::Skip},
        {"torlen_en.SHX", false, EntryAction::Skip},
        {"TORLEN_HZ.shx", false, EntryAction::Skip},
        {"torlen.PRT5", false, EntryAction::Skip},
        {"torlen.ini", false, EntryAction::CopyToUserFolder},
        {"TORLEN.INI", false, EntryAction::CopyToUserFolder},
        {"Torlen.Ini", true, EntryAction::Skip},
        {"SetUp.exe.bak", false, EntryAction::CopyToTarget},
        {"Torlen.Ini.old", false, EntryAction::CopyToTarget},
        {"TL_DodudEdiv2010.arx", false, EntryAction::CopyToTarget},
        {"ACAD2008P.dll", false, EntryAction::CopyToTarget},
        {"itextsharp.dll", false, EntryAction::CopyToTarget},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, entryAction(c.name, c.isFolder)) << c.name;
}

TEST(DeployRules, ReleaseCopiesInOrderWithDriverOnlyOnRequest) {
    std::vector<ReleaseCopy> plain = releaseCopies(false);
    ASSERT_EQ(3u + 44u, plain.size());
    EXPECT_EQ("Torlen_EN.shx", plain[0].sourceName);
    EXPECT_EQ("Fonts", plain[0].subFolder);
    EXPECT_EQ("Torlen_HZ.shx", plain[1].destinationName);
    EXPECT_EQ("Fonts", plain[1].subFolder);
    EXPECT_EQ("itextsharp.dll", plain[2].destinationName);
    EXPECT_EQ("", plain[2].subFolder);
    EXPECT_EQ("ACAD2007P.dll", plain[3].sourceName);
    EXPECT_EQ("ACAD2050P.dll", plain.back().destinationName);
    for (std::size_t i = 3; i < plain.size(); ++i) {
        EXPECT_EQ(plain[i].sourceName, plain[i].destinationName);
        EXPECT_EQ(plain[i].sourceName, "ACAD" + std::to_string(2007 + i - 3) + "P.dll");
    }

    std::vector<ReleaseCopy> with = releaseCopies(true);
    ASSERT_EQ(plain.size() + 1, with.size());
    EXPECT_EQ("Torlen.prt5", with.back().sourceName);
    EXPECT_EQ("Drv", with.back().subFolder);
    EXPECT_EQ("pdfplot9.hdi", with.back().destinationName);
}

TEST(DeployRules, LongestOverlongPathUsesTheFolderAndFileLimits) {
    const std::string folder247(247, 'f'), file259(259, 'p'),
        chinese248 = std::string(246, 'f') + "\xD6\xD0\xD6\xD0";
    EXPECT_EQ(longestOverlongPath({{folder247, true}, {file259, false}, {chinese248.substr(0, 248), true}}),
              "");
    EXPECT_EQ(longestOverlongPath({{folder247 + "x", true}, {file259, false}}), folder247 + "x");
    EXPECT_EQ(longestOverlongPath({{chinese248, true}, {file259 + "xy", false}, {file259 + "x", false}}),
              file259 + "xy");
    EXPECT_EQ(longestOverlongPath({}), "");
}

TEST(DeployRules, PluginFolderSecurityGrantsOthersReadingOnly) {
    EXPECT_EQ(pluginFolderSddl("S-1-5-21-1-2-3-1001"),
              "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;0x1200a9;;;BU)");
    EXPECT_EQ(pluginFolderSddl(""), "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)");
}

// Windows Installer's file-versioning rules for a file already in an AutoCAD folder.
TEST(DeployRules, AFileIsReplacedOnlyByAHigherVersionOrWhenUnversionedAndDifferent) {
    const unsigned long long v5510 = 0x0005000500000a00ULL, v5513 = 0x0005000500000d00ULL;
    const struct {
        unsigned long long incoming, existing;
        Overwrite expected;
    } cases[] = {
        {v5510, v5513, Overwrite::No},
        {v5513, v5510, Overwrite::Yes},
        {v5510, v5510, Overwrite::No},
        {0, v5510, Overwrite::No},
        {v5510, 0, Overwrite::Yes},
        {0, 0, Overwrite::IfDifferent},
        {0x0001000000000000ULL, 0x0000ffffffffffffULL, Overwrite::Yes},  // the major number counts first
    };
    for (const auto& c : cases)
        EXPECT_EQ(overwriteRule(c.incoming, c.existing), c.expected) << c.incoming << " " << c.existing;
}

TEST(DeployRules, AppDataFallsBackToTheShellFolder) {
    const std::string shell = "C:\\users\\u\\Application Data";
    // "\Torlen\Torlen.Ini" is 18 characters: a value of 241 still fits, 242 does not.
    const std::string longest(241, 'x'), tooLong(242, 'x');
    struct Case {
        bool set;
        std::string value;
        std::string expected;
    } cases[] = {
        {true, "D:\\Roaming", "D:\\Roaming"},
        {true, "D:\\Roaming\\", "D:\\Roaming"},
        {false, "", shell},
        {true, "", shell},
        {true, longest, longest},
        {true, tooLong, shell},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, chooseAppDataFolder(c.set, c.value, shell)) << c.value;
    EXPECT_EQ("", chooseAppDataFolder(false, "", ""));
    EXPECT_EQ("D:\\Roaming\\Torlen\\torlen.ini", userSettingsPath("D:\\Roaming", "torlen.ini"));
}
