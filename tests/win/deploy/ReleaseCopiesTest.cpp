// The silent copies into AutoCAD installation folders against real folders: what each
// location receives, what is left alone, and which failures are recorded.
#include <gtest/gtest.h>

#include "DeployWorld.h"
#include "acad/ReleaseDeployment.h"

namespace {

// Setup data folder with the fonts, the library, two host-side modules and the driver.
void shipReleaseFiles(const DeployWorld& world) {
    const char* names[] = {"Torlen_EN.shx", "Torlen_HZ.shx", "itextsharp.dll",
                           "ACAD2007P.dll", "ACAD2050P.dll", "Torlen.prt5"};
    for (const char* name : names) writeFile(world.data + "\\" + name, name);
}

// An AutoCAD installation folder, with or without its Fonts and Drv folders.
std::string makeLocation(const DeployWorld& world, const std::string& name, bool fonts, bool drv) {
    std::string location = world.root / name;
    CreateDirectoryA(location.c_str(), nullptr);
    if (fonts) CreateDirectoryA((location + "\\Fonts").c_str(), nullptr);
    if (drv) CreateDirectoryA((location + "\\Drv").c_str(), nullptr);
    return location;
}

// The paths of the failures that were logged, in order.
StringList subjects(const FailureLog& failures) {
    StringList paths;
    for (const Failure& failure : failures) paths.push_back(failure.subject);
    return paths;
}

ReleaseSelection select(std::initializer_list<int> releases) {
    ReleaseSelection selection{};
    for (int release : releases) selection[release] = 1;
    return selection;
}

}  // namespace

TEST(DeployToReleases, EachLocationOfEachSelectedReleaseGetsItsFiles) {
    DeployWorld world;
    shipReleaseFiles(world);
    std::string r2007 = makeLocation(world, "r2007", true, true);
    std::string r2008a = makeLocation(world, "r2008a", true, true);
    std::string r2008b = makeLocation(world, "r2008b", false, true);
    std::string r2009 = makeLocation(world, "r2009", true, true);
    AcadInstallations installations = {
        {2007, "K\\", r2007}, {2008, "K\\", r2008a}, {2008, "K\\", r2008b}, {2009, "K\\", r2009}};
    RecordingObserver observer;
    FailureLog failures;

    deployToReleases(installations, select({0, 1, 5}), observer,
                     failures);  // 2012 is selected but has no locations

    struct Expect {
        std::string location;
        std::vector<std::string> top, fonts, drv;
    } expected[] = {
        {r2007,
         {"ACAD2007P.dll", "ACAD2050P.dll", "Drv", "Fonts", "itextsharp.dll"},
         {"Torlen_EN.shx", "Torlen_HZ.shx"},
         {}},
        {r2008a,
         {"ACAD2007P.dll", "ACAD2050P.dll", "Drv", "Fonts", "itextsharp.dll"},
         {"Torlen_EN.shx", "Torlen_HZ.shx"},
         {"pdfplot9.hdi"}},
        // Fonts only where the Fonts folder exists: it is not created.
        {r2008b, {"ACAD2007P.dll", "ACAD2050P.dll", "Drv", "itextsharp.dll"}, {}, {"pdfplot9.hdi"}},
        {r2009, {"Drv", "Fonts"}, {}, {}},  // not selected
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.location);
        EXPECT_EQ(e.top, folderEntries(e.location));
        EXPECT_EQ(e.fonts, folderEntries(e.location + "\\Fonts"));
        EXPECT_EQ(e.drv, folderEntries(e.location + "\\Drv"));
    }
    std::string driver;
    ASSERT_TRUE(readFile(r2008b + "\\Drv\\pdfplot9.hdi", driver));
    EXPECT_EQ("Torlen.prt5", driver);
    // Unshipped host-side modules and missing Fonts folders are no failures.
    EXPECT_TRUE(failures.empty());
    EXPECT_TRUE(observer.refusals.empty());
}

// A file AutoCAD holds open without sharing cannot be replaced; it is left as it is and
// recorded, and the copies after it still happen.
TEST(DeployToReleases, FilesInUseAreLeftAloneAndRecordedInOrder) {
    DeployWorld world;
    shipReleaseFiles(world);
    std::string first = makeLocation(world, "first", true, false);
    std::string second = makeLocation(world, "second", true, false);
    const std::string held[] = {first + "\\Fonts\\Torlen_HZ.shx", second + "\\itextsharp.dll"};
    std::vector<HANDLE> handles;
    for (const std::string& path : held) {
        writeFile(path, "AutoCAD's own");
        handles.push_back(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(INVALID_HANDLE_VALUE, handles.back());
    }
    AcadInstallations installations = {{2010, "K\\", first}, {2010, "K\\", second}};
    RecordingObserver observer;
    FailureLog failures;

    deployToReleases(installations, select({3}), observer, failures);
    for (HANDLE handle : handles) CloseHandle(handle);

    for (const std::string& path : held) {
        std::string kept;
        ASSERT_TRUE(readFile(path, kept));
        EXPECT_EQ("AutoCAD's own", kept);
    }
    EXPECT_TRUE(fileExists(first + "\\itextsharp.dll"));
    EXPECT_TRUE(fileExists(second + "\\Fonts\\Torlen_HZ.shx"));
    EXPECT_EQ((StringList{held[0], held[1]}), subjects(failures));
    for (const Failure& failure : failures)
        EXPECT_EQ(static_cast<unsigned long>(ERROR_SHARING_VIOLATION), failure.error) << failure.subject;
    EXPECT_TRUE(observer.refusals.empty());
}

// Earlier copies from a CD are read-only, a hidden file refuses a plain copy over it, and a
// copy takes the download marker along: each destination is replaced all the same and left
// writable, visible and unmarked.
TEST(DeployToLocation, BlockedDestinationsAreReplacedAndLeftWritable) {
    DeployWorld world;
    shipReleaseFiles(world);
    makeReadOnly(world.data + "\\ACAD2007P.dll");  // the source itself read-only
    std::string location = makeLocation(world, "r2010", true, false);
    const std::string readOnly = location + "\\itextsharp.dll", hidden = location + "\\Fonts\\Torlen_EN.shx",
                      marked = location + "\\ACAD2050P.dll";
    for (const std::string& path : {readOnly, hidden, marked}) writeFile(path, "AutoCAD's own");
    makeReadOnly(readOnly);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    writeFile(marked + ":Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");  // what the copy took along
    ASSERT_TRUE(isReadOnly(readOnly));
    FailureLog failures;
    deployToLocation(location, false, failures);
    for (const std::string& path :
         {readOnly, hidden, marked, location + "\\ACAD2007P.dll", location + "\\Fonts\\Torlen_HZ.shx"}) {
        std::string contents;
        ASSERT_TRUE(readFile(path, contents)) << path;
        EXPECT_NE("AutoCAD's own", contents) << path;
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u)
            << path;
    }
    EXPECT_FALSE(fileExists(marked + ":Zone.Identifier"));
    EXPECT_TRUE(failures.empty());
}

// AutoCAD 2008's own plot driver is kept once, beside it, before the plug-in's replaces it.
TEST(DeployToLocation, KeepsAutoCadsPlotDriverOnceBeforeReplacingIt) {
    const struct Case {
        const char* what;
        const char* driver;  // what Drv\pdfplot9.hdi holds before; null: nothing
        const char* backup;  // what Drv\pdfplot9.hdi.original holds before; null: nothing
        bool backupIsFolder;
        const char* backupAfter;  // null: none
        bool replaced;
    } cases[] = {
        {"AutoCAD's driver is kept", "AutoCAD's driver", nullptr, false, "AutoCAD's driver", true},
        {"a kept driver is never overwritten", "plug-in 1.0 driver", "AutoCAD's driver", false,
         "AutoCAD's driver", true},
        {"the plug-in's own driver is not kept as the original", "Torlen.prt5", nullptr, false, nullptr,
         true},
        {"no driver: nothing to keep", nullptr, nullptr, false, nullptr, true},
        {"the original cannot be kept: not replaced", "AutoCAD's driver", nullptr, true, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeployWorld world;
        shipReleaseFiles(world);
        std::string location = makeLocation(world, "r2008", true, true);
        const std::string driver = location + "\\Drv\\pdfplot9.hdi", backup = driver + ".original";
        if (c.driver) writeFile(driver, c.driver);
        if (c.backup) writeFile(backup, c.backup);
        if (c.backupIsFolder) CreateDirectoryA(backup.c_str(), nullptr);
        FailureLog failures;
        deployToLocation(location, true, failures);
        std::string contents;
        EXPECT_TRUE(readFile(driver, contents));
        EXPECT_EQ(contents == "Torlen.prt5", c.replaced);
        EXPECT_EQ(fileExists(backup), c.backupAfter != nullptr);
        if (c.backupAfter && readFile(backup, contents)) {
            EXPECT_EQ(contents, c.backupAfter);
        }
        EXPECT_EQ(subjects(failures), c.replaced ? StringList{} : StringList{driver});
        if (!c.replaced) {
            EXPECT_EQ(Failure::Action::KeepOriginal, failures[0].action);
        }
    }
}

// The message says it once for the whole run, not once per AutoCAD folder.
TEST(DeployToReleases, WithoutSetupDataFolderEachLocationIsPassedOverWithOneMessage) {
    DeployWorld world;
    RemoveDirectoryA(world.data.c_str());
    std::string a = makeLocation(world, "a", true, true);
    std::string b = makeLocation(world, "b", true, true);
    AcadInstallations installations = {{2008, "K\\", a}, {2008, "K\\", b}};
    RecordingObserver observer;
    FailureLog failures;
    deployToReleases(installations, select({1}), observer, failures);
    ASSERT_EQ(1u, observer.refusals.size());
    EXPECT_EQ(Refusal::Reason::DataFolderMissing, observer.refusals[0].reason);
    EXPECT_EQ((std::vector<std::string>{"Drv", "Fonts"}), folderEntries(a));
    EXPECT_TRUE(failures.empty());
}

TEST(DeployToLocation, LocationTooLongIsRecordedNotCut) {
    DeployWorld world;
    shipReleaseFiles(world);
    std::string parent = world.root / std::string(90, 'p') + "\\" + std::string(90, 'q');
    CreateDirectoryA((world.root / std::string(90, 'p')).c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    std::string location = parent + "\\" + std::string(90, 'l');
    FailureLog failures;

    deployToLocation(location, true, failures);

    // Nothing is written under a cut-off name; each shipped file is recorded.
    EXPECT_TRUE(folderEntries(parent).empty());
    EXPECT_EQ((StringList{location + "\\Fonts\\Torlen_EN.shx", location + "\\Fonts\\Torlen_HZ.shx",
                          location + "\\itextsharp.dll", location + "\\ACAD2007P.dll",
                          location + "\\ACAD2050P.dll", location + "\\Drv\\pdfplot9.hdi"}),
              subjects(failures));
}
