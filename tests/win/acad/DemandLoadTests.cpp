// The demand-load keys as work items against the real registry (both roots redirected per test):
// what each release gets, what an earlier key keeps, what could not be written, and that rolling
// the run back puts every key back as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "acad/AcadRegistry.h"
#include "acad/DemandLoad.h"
#include "framework/BuildConstants.h"
#include "support/Sandbox.h"

namespace {

// Installations are stored where this program's own view shows SOFTWARE\Autodesk\AutoCAD, so
// that its discovery finds them; the i686 program (under WOW64) finds those up to 2010 through
// both release roots and must reach each once, below the path it recorded.
const std::string kVersion = ownViewRoot() + "R18.0\\";

std::string textOf(std::string bytes) {
    while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

DWORD dwordOf(const std::string& key, const char* name) {
    std::string bytes;
    DWORD type = REG_NONE;
    if (!regReadValue(HKEY_LOCAL_MACHINE, key, name, bytes, type) || type != REG_DWORD || bytes.size() != 4)
        return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(bytes.data());
}

std::string loaderOf(const std::string& key) {
    std::string bytes;
    DWORD type = REG_NONE;
    if (!regReadValue(HKEY_LOCAL_MACHINE, key, "LOADER", bytes, type) || type != REG_SZ) return "<none>";
    return textOf(bytes);
}

StringList sorted(StringList names) {
    std::sort(names.begin(), names.end());
    return names;
}

// The keys of the installations made as a run makes them, journalled in the record on the
// sandboxed registry; the subjects of those that failed.
struct Registration {
    Registration(const AcadInstallations& installations, int bits, const std::string& folder) {
        for (const AcadInstallation& installation : installations) {
            for (const std::string& subject :
                 subjectsOf(applyAll(journal, demandLoadItems(installation, bits, folder))))
                failed.push_back(subject);
        }
    }
    RecordStore machine = RecordStore::machine();
    RecordStore user = RecordStore::currentUser();
    Journal journal{&machine, &user};
    StringList failed;
};

}  // namespace

TEST(DemandLoad, WritesTheKeysOfEveryReleaseForEachEditionAndTakesThemBack) {
    // Release, plug-in module and host-side library, as AutoCAD's demand-loading reads them.
    const struct {
        int year;
        const char* module;
        const char* library;
    } releases[] = {
        {2007, "TL_DodudEdiv2008.ARX", "ACAD2007P.dll"}, {2008, "TL_DodudEdiv2008.ARX", "ACAD2007P.dll"},
        {2009, "TL_DodudEdiv2009.ARX", "ACAD2009P.dll"}, {2010, "TL_DodudEdiv2010.ARX", "ACAD2010P.dll"},
        {2011, "TL_DodudEdiv2010.ARX", "ACAD2010P.dll"}, {2012, "TL_DodudEdiv2010.ARX", "ACAD2010P.dll"},
        {2013, "TL_DodudEdiv2013.ARX", "ACAD2013P.dll"}, {2014, "TL_DodudEdiv2013.ARX", "ACAD2013P.dll"},
        {2015, "TL_DodudEdiv2015.ARX", "ACAD2013P.dll"}, {2016, "TL_DodudEdiv2015.ARX", "ACAD2013P.dll"},
        {2017, "TL_DodudEdiv2017.ARX", "ACAD2013P.dll"}, {2018, "TL_DodudEdiv2018.ARX", "ACAD2013P.dll"},
        {2019, "TL_DodudEdiv2019.ARX", "ACAD2013P.dll"}, {2020, "TL_DodudEdiv2019.ARX", "ACAD2013P.dll"},
        {2021, "TL_DodudEdiv2021.ARX", "ACAD2013P.dll"}, {2022, "TL_DodudEdiv2021.ARX", "ACAD2013P.dll"},
        {2023, "TL_DodudEdiv2021.ARX", "ACAD2013P.dll"}, {2024, "TL_DodudEdiv2021.ARX", "ACAD2013P.dll"},
        {2025, "TL_DodudEdiv2025.ARX", "ACAD2013P.dll"}, {2026, "TL_DodudEdiv2025.ARX", "ACAD2013P.dll"},
    };
    for (int bits : {32, 64}) {
        SCOPED_TRACE(bits);
        RegistrySandbox sandbox;
        for (const auto& release : releases) {
            std::string year = std::to_string(release.year);
            addInstallation(kVersion + "P" + year, "C:\\AutoCAD " + year + "\\", "AutoCAD " + year);
        }
        const std::string before = registryExport(HKEY_LOCAL_MACHINE);
        Registration run(findAcadReleases(), bits, "D:\\Plot");
        EXPECT_TRUE(run.failed.empty());

        for (const auto& release : releases) {
            const std::string year = std::to_string(release.year);
            const std::string apps = kVersion + "P" + year + "\\Applications\\";
            const std::string module = apps + "TL_DodudEdiv" + year,
                              library = apps + "Torlen" + year + "DLLP";
            EXPECT_EQ(dwordOf(module, "LOADCTRLS"), 2u) << module;
            EXPECT_EQ(loaderOf(module), std::string("D:\\Plot\\") + release.module) << module;
            EXPECT_EQ(regValueNames(HKEY_LOCAL_MACHINE, module), (StringList{"LOADCTRLS", "LOADER"}))
                << module;
            EXPECT_EQ(dwordOf(library, "LOADCTRLS"), 2u) << library;
            EXPECT_EQ(loaderOf(library), "C:\\AutoCAD " + year + "\\" + release.library) << library;
            EXPECT_EQ(dwordOf(library, "MANAGED"), 1u) << library;
            EXPECT_EQ(regValueNames(HKEY_LOCAL_MACHINE, library),
                      (StringList{"LOADCTRLS", "LOADER", "MANAGED"}))
                << library;
            // The 64 edition also registers the module built for the 32-bit side of 2009 and 2010.
            StringList expected = {"TL_DodudEdiv" + year, "Torlen" + year + "DLLP"};
            if (bits == 64 && release.year == 2009) expected.push_back("TL_DodudEdiv2008");
            if (bits == 64 && release.year == 2010) expected.push_back("TL_DodudEdiv2010_32");
            EXPECT_EQ(regSubKeyNames(HKEY_LOCAL_MACHINE, kVersion + "P" + year + "\\Applications"),
                      sorted(expected))
                << year;
        }
        EXPECT_TRUE(subjectsOf(run.journal.rollback()).empty());
        EXPECT_EQ(registryExport(HKEY_LOCAL_MACHINE), before);
    }
}

TEST(DemandLoad, RebuildsEarlierKeysKeepsAKeyWithSubkeysAndPutsThemBack) {
    RegistrySandbox sandbox;
    const std::string apps = kVersion + "P\\Applications\\";
    addInstallation(kVersion + "P", "C:\\A2014", "AutoCAD 2014");
    regSetString(HKEY_LOCAL_MACHINE, apps + "TL_DodudEdiv2014", "STALE", "x");
    regSetString(HKEY_LOCAL_MACHINE, apps + "TL_DodudEdiv2014", "LOADER", "old");
    regSetString(HKEY_LOCAL_MACHINE, apps + "Torlen2014DLLP", "STALE", "x");
    regCreateKey(HKEY_LOCAL_MACHINE, apps + "Torlen2014DLLP\\Sub");
    const std::string before = registryExport(HKEY_LOCAL_MACHINE);
    Registration run(findAcadReleases(), platformBits, "D:\\Plot");
    EXPECT_TRUE(run.failed.empty());
    EXPECT_EQ(regValueNames(HKEY_LOCAL_MACHINE, apps + "TL_DodudEdiv2014"),
              (StringList{"LOADCTRLS", "LOADER"}));
    EXPECT_EQ(loaderOf(apps + "TL_DodudEdiv2014"), "D:\\Plot\\TL_DodudEdiv2013.ARX");
    // A key with subkeys cannot be deleted: the values are written over its own.
    EXPECT_TRUE(regKeyExists(HKEY_LOCAL_MACHINE, apps + "Torlen2014DLLP\\Sub"));
    EXPECT_EQ(sorted(regValueNames(HKEY_LOCAL_MACHINE, apps + "Torlen2014DLLP")),
              (StringList{"LOADCTRLS", "LOADER", "MANAGED"}));
    EXPECT_EQ(loaderOf(apps + "Torlen2014DLLP"), "C:\\A2014\\ACAD2013P.dll");
    // Rolled back, both keys hold again exactly what they held, and nothing is reported as left.
    EXPECT_EQ(subjectsOf(run.journal.rollback()), StringList{});
    EXPECT_EQ(registryExport(HKEY_LOCAL_MACHINE), before);
}

TEST(DemandLoad, EveryRecordedProductKeyGetsItsOwnFolderWrittenWhole) {
    RegistrySandbox sandbox;
    const std::string longLocation = "C:\\" + std::string(300, 'a'),
                      longFolder = "D:\\" + std::string(300, 'b');
    const std::string wow = std::string(kWowRoot) + "R17.2\\A\\Applications\\";
    addInstallation(kVersion + "A", "C:\\One", "AutoCAD 2009");
    addInstallation(kVersion + "B", longLocation, "AutoCAD 2009");
    addInstallation(std::string(kWowRoot) + "R17.2\\A", "C:\\Wow", "AutoCAD 2009");
    AcadInstallations found = findAcadReleases();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_TRUE(Registration(found, platformBits, longFolder).failed.empty());
    EXPECT_EQ(loaderOf(kVersion + "A\\Applications\\Torlen2009DLLP"), "C:\\One\\ACAD2009P.dll");
    EXPECT_EQ(loaderOf(kVersion + "B\\Applications\\Torlen2009DLLP"), longLocation + "\\ACAD2009P.dll");
    EXPECT_EQ(loaderOf(wow + "Torlen2009DLLP"), "C:\\Wow\\ACAD2009P.dll");
    EXPECT_EQ(loaderOf(wow + "TL_DodudEdiv2009"), longFolder + "\\TL_DodudEdiv2009.ARX");
}

TEST(DemandLoad, ReportsKeysThatCouldNotBeWrittenAndCarriesOn) {
    RegistrySandbox sandbox;
    const std::string gone = kVersion + "Gone\\";
    const std::string vol = kVersion + "Volatile\\";
    const std::string locked = kVersion + "Locked\\";
    const std::string good = kVersion + "Good\\";
    // A volatile key refuses ordinary subkeys, so "Applications" cannot be created.
    createVolatileKey(HKEY_LOCAL_MACHINE, kVersion + "Volatile");
    // A read-only key with a subkey cannot be deleted, and opens for reading only.
    regCreateKey(HKEY_LOCAL_MACHINE, locked + "Applications\\TL_DodudEdiv2014\\Sub");
    ASSERT_TRUE(
        setKeySecurity(HKEY_LOCAL_MACHINE, locked + "Applications\\TL_DodudEdiv2014", kReadOnlySddl) &&
        !canSetValue(HKEY_LOCAL_MACHINE, locked + "Applications\\TL_DodudEdiv2014"))
        << "this Wine does not honour a read-only DACL";
    regCreateKey(HKEY_LOCAL_MACHINE, good);
    AcadInstallations installations;
    for (const std::string& key : {gone, vol, locked, good}) installations.push_back({2014, key, "C:\\A"});
    Registration run(installations, platformBits, "D:\\Plot");
    const std::string machine = "HKEY_LOCAL_MACHINE\\";
    EXPECT_EQ(run.failed, (StringList{machine + kVersion + "Gone", machine + kVersion + "Gone",
                                      machine + vol + "Applications\\TL_DodudEdiv2014",
                                      machine + vol + "Applications\\Torlen2014DLLP",
                                      machine + locked + "Applications\\TL_DodudEdiv2014"}));
    EXPECT_EQ(loaderOf(locked + "Applications\\Torlen2014DLLP"), "C:\\A\\ACAD2013P.dll");
    EXPECT_EQ(loaderOf(good + "Applications\\TL_DodudEdiv2014"), "D:\\Plot\\TL_DodudEdiv2013.ARX");
    setKeySecurity(HKEY_LOCAL_MACHINE, locked + "Applications\\TL_DodudEdiv2014", "D:P(A;;KA;;;WD)");
}
