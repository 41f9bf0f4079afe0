// The copies into AutoCAD installation folders as work items against real folders: what each
// location receives, what stands in the way, AutoCAD's plot driver kept once and put back, shared
// libraries by their versions, and files in use.
#include <gtest/gtest.h>

#include <algorithm>

#include "DeployWorld.h"
#include "acad/AcadFolderCopies.h"
#include "acad/AcadInstallations.h"
#include "framework/Files.h"

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

// The copies into one location made as a run makes them, journalled in the machine's record;
// the journal is the caller's, to commit or roll back.
struct Copies {
    Copies(const std::string& data, const std::string& location, bool replacePlotDriver,
           const RecordedFiles& recorded = {})
        : failures(applyAll(journal, acadFolderCopies(data, location, replacePlotDriver, recorded))) {}
    RecordStore machine = RecordStore::machine();
    Journal journal{&machine, nullptr};
    FailureLog failures;
};

std::string contentsOf(const std::string& path) {
    std::string contents;
    return readFile(path, contents) ? contents : "<missing>";
}

}  // namespace

TEST(AcadFolderCopies, EachLocationGetsItsFiles) {
    DeployWorld world;
    shipReleaseFiles(world);
    const struct {
        std::string location;
        bool plotDriver;
        std::vector<std::string> top, fonts, drv;
    } expected[] = {
        {makeLocation(world, "r2007", true, true),
         false,
         {"ACAD2007P.dll", "ACAD2050P.dll", "Drv", "Fonts", "itextsharp.dll"},
         {"Torlen_EN.shx", "Torlen_HZ.shx"},
         {}},
        {makeLocation(world, "r2008a", true, true),
         true,
         {"ACAD2007P.dll", "ACAD2050P.dll", "Drv", "Fonts", "itextsharp.dll"},
         {"Torlen_EN.shx", "Torlen_HZ.shx"},
         {"pdfplot9.hdi"}},
        // Fonts only where the Fonts folder exists: it is not created.
        {makeLocation(world, "r2008b", false, true),
         true,
         {"ACAD2007P.dll", "ACAD2050P.dll", "Drv", "itextsharp.dll"},
         {},
         {"pdfplot9.hdi"}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.location);
        // Unshipped host-side modules and missing Fonts folders are no failures.
        EXPECT_TRUE(Copies(world.data, e.location, e.plotDriver).failures.empty());
        EXPECT_EQ(e.top, folderEntries(e.location));
        EXPECT_EQ(e.fonts, folderEntries(e.location + "\\Fonts"));
        EXPECT_EQ(e.drv, folderEntries(e.location + "\\Drv"));
    }
    EXPECT_EQ("Torlen.prt5", contentsOf(expected[2].location + "\\Drv\\pdfplot9.hdi"));
}

// Earlier copies from a CD are read-only, and a hidden or system file refuses a plain copy over
// it: each destination is replaced all the same and left writable and visible. Rolled back,
// every file is as it was.
TEST(AcadFolderCopies, BlockedDestinationsAreReplacedAndLeftWritable) {
    DeployWorld world;
    shipReleaseFiles(world);
    makeReadOnly(world.data + "\\ACAD2007P.dll");  // the source itself read-only
    std::string location = makeLocation(world, "r2010", true, false);
    const std::string readOnly = location + "\\itextsharp.dll", hidden = location + "\\Fonts\\Torlen_EN.shx",
                      system = location + "\\ACAD2050P.dll";
    for (const std::string& path : {readOnly, hidden, system}) writeFile(path, "AutoCAD's own");
    makeReadOnly(readOnly);
    // Hidden first: Wine keeps it in an extended attribute, which a read-only file refuses.
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(isReadOnly(readOnly));
    const std::string before = folderExport(location);
    Copies copies(world.data, location, false);
    EXPECT_TRUE(copies.failures.empty());
    for (const std::string& path :
         {readOnly, hidden, system, location + "\\ACAD2007P.dll", location + "\\Fonts\\Torlen_HZ.shx"}) {
        EXPECT_EQ(contentsOf(path), path.substr(path.find_last_of('\\') + 1)) << path;
        EXPECT_EQ(GetFileAttributesA(path.c_str()) &
                      (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
                  0u)
            << path;
    }
    EXPECT_TRUE(isReadOnly(world.data + "\\ACAD2007P.dll"));
    EXPECT_TRUE(copies.journal.rollback().empty());
    EXPECT_EQ(folderExport(location), before);
}

// AutoCAD 2008's own plot driver is kept once, beside it, before the plug-in's replaces it, and
// comes back when the plug-in's goes.
TEST(AcadFolderCopies, KeepsAutoCadsPlotDriverOnceAndPutsItBack) {
    const struct Case {
        const char* what;
        const char* driver;  // what Drv\pdfplot9.hdi holds before; null: nothing
        const char* backup;  // what Drv\pdfplot9.hdi.original holds before; null: nothing
        bool backupIsFolder;
        bool recorded;            // the driver is in the installation's record
        const char* backupAfter;  // null: none
        bool replaced;
    } cases[] = {
        {"AutoCAD's driver is kept", "AutoCAD's driver", nullptr, false, false, "AutoCAD's driver", true},
        {"a kept driver is never overwritten", "plug-in 1.0 driver", "AutoCAD's driver", false, false,
         "AutoCAD's driver", true},
        {"the plug-in's own driver is not kept as the original", "Torlen.prt5", nullptr, false, false,
         nullptr, true},
        {"an earlier installation's driver is not kept", "plug-in 1.0 driver", nullptr, false, true, nullptr,
         true},
        {"no driver: nothing to keep", nullptr, nullptr, false, false, nullptr, true},
        {"the original cannot be kept: not replaced", "AutoCAD's driver", nullptr, true, false, nullptr,
         false},
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
        const std::string before = folderExport(location);
        Copies copies(world.data, location, true, c.recorded ? RecordedFiles{driver} : RecordedFiles{});
        EXPECT_EQ(contentsOf(driver) == "Torlen.prt5", c.replaced);
        EXPECT_EQ(contentsOf(backup), c.backupAfter ? c.backupAfter : "<missing>");
        EXPECT_EQ(subjectsOf(copies.failures), c.replaced ? StringList{} : StringList{driver});
        EXPECT_TRUE(copies.journal.rollback().empty());
        EXPECT_EQ(folderExport(location), before);
    }
}

// A shared library other programs ship too is replaced by Windows Installer's file-versioning
// rules, and another program's copy that is replaced is kept beside it. Stand-ins: system
// libraries of the lowest and the highest version this Windows has.
TEST(AcadFolderCopies, ASharedLibraryIsReplacedByItsVersionRules) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::vector<std::pair<unsigned long long, std::string>> versioned;
    for (const char* name :
         {"kernel32.dll", "comctl32.dll", "shell32.dll", "ole32.dll", "msvcrt.dll", "msi.dll"}) {
        std::string path = std::string(system) + "\\" + name;
        if (unsigned long long version = fileVersionOf(path)) versioned.push_back({version, path});
    }
    std::sort(versioned.begin(), versioned.end());
    ASSERT_TRUE(versioned.size() >= 2 && versioned.front().first < versioned.back().first);
    const std::string older = versioned.front().second, newer = versioned.back().second;
    const struct {
        const char* what;
        std::string shipped, existing;  // files to copy; existing empty: an unversioned file
        bool recorded, replaced, kept;
    } cases[] = {
        {"a lower version is replaced and kept", newer, older, false, true, true},
        {"a higher version stays", older, newer, false, false, false},
        {"the same version stays", newer, newer, false, false, false},
        {"a file without a version is replaced by one with it, and kept", newer, "", false, true, true},
        {"an earlier installation's copy is replaced, not kept", newer, older, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeployWorld world;
        std::string location = makeLocation(world, "r2014", false, false);
        const std::string library = location + "\\itextsharp.dll";
        CopyFileA(c.shipped.c_str(), (world.data + "\\itextsharp.dll").c_str(), FALSE);
        if (c.existing.empty())
            writeFile(library, "another program's");
        else
            CopyFileA(c.existing.c_str(), library.c_str(), FALSE);
        const std::string existing = contentsOf(library);
        Copies copies(world.data, location, false, c.recorded ? RecordedFiles{library} : RecordedFiles{});
        EXPECT_TRUE(copies.failures.empty());
        EXPECT_EQ(sameContents(library, world.data + "\\itextsharp.dll"),
                  c.replaced || c.shipped == c.existing);
        EXPECT_EQ(contentsOf(library + ".original"), c.kept ? existing : "<missing>");
    }
}

// A file AutoCAD holds open without sharing cannot be replaced: its item fails with a sharing
// violation and leaves it as it is; the copies after it are made.
TEST(AcadFolderCopies, FilesInUseFailWithASharingViolation) {
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
    FailureLog failures = Copies(world.data, first, false).failures;
    for (const Failure& failure : Copies(world.data, second, false).failures) failures.push_back(failure);
    for (HANDLE handle : handles) CloseHandle(handle);

    for (const std::string& path : held) EXPECT_EQ("AutoCAD's own", contentsOf(path));
    EXPECT_TRUE(fileExists(first + "\\itextsharp.dll"));
    EXPECT_TRUE(fileExists(second + "\\Fonts\\Torlen_HZ.shx"));
    EXPECT_EQ((StringList{held[0], held[1]}), subjectsOf(failures));
    for (const Failure& failure : failures)
        EXPECT_EQ(static_cast<unsigned long>(ERROR_SHARING_VIOLATION), failure.error) << failure.subject;
}
