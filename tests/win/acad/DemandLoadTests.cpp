// Demand-load registration against the real registry (both roots redirected per test).
#include <gtest/gtest.h>

#include <algorithm>

#include "acad/AcadRegistry.h"
#include "acad/Registration.h"
#include "framework/BuildConstants.h"
#include "framework/Registry.h"
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

DWORD dwordValue(const std::string& key, const char* name) {
    std::string bytes;
    DWORD type = REG_NONE;
    if (!regReadValue(HKEY_LOCAL_MACHINE, key, name, bytes, type) || type != REG_DWORD || bytes.size() != 4)
        return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(bytes.data());
}

std::string loaderValue(const std::string& key) {
    std::string bytes;
    DWORD type = REG_NONE;
    if (!regReadValue(HKEY_LOCAL_MACHINE, key, "LOADER", bytes, type) || type != REG_SZ) return "<none>";
    return textOf(bytes);
}

StringList subKeys(const std::string& path) {
    StringList names;
    RegistryKey key;
    if (key.open(HKEY_LOCAL_MACHINE, path, KEY_READ | kStoredView) == ERROR_SUCCESS)
        listSubKeyNames(key, names);
    return names;
}

// What discovery found, and the target folder of the installation.
struct Discovered {
    AcadInstallations installations;
    std::string installFolder;
};
Discovered discovered(const std::string& installFolder) { return {findAcadReleases(), installFolder}; }

// The key paths (below HKLM) of what could not be written, in order.
StringList registered(const Discovered& table, const ReleaseSelection& selection) {
    FailureLog failures;
    registerReleases(table.installations, selection, table.installFolder, failures);
    StringList paths;
    for (const Failure& failure : failures) paths.push_back(failure.subject);
    return paths;
}

ReleaseSelection none() { return ReleaseSelection{}; }
ReleaseSelection only(int year) {
    ReleaseSelection selection{};
    selection[year - 2007] = 1;
    return selection;
}

}  // namespace

TEST(DemandLoad, WritesTheKeysOfEveryReleaseWithTheirValues) {
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
    RegistrySandbox sandbox;
    for (const auto& release : releases) {
        std::string year = std::to_string(release.year);
        addInstallation(kVersion + "P" + year, "C:\\AutoCAD " + year + "\\", "AutoCAD " + year);
    }
    Discovered table = discovered("D:\\Plot");
    ReleaseSelection all;
    all.fill(1);
    EXPECT_TRUE(registered(table, all).empty());

    for (const auto& release : releases) {
        const std::string year = std::to_string(release.year);
        const std::string apps = kVersion + "P" + year + "\\Applications\\";
        const std::string module = apps + "TL_DodudEdiv" + year, library = apps + "Torlen" + year + "DLLP";
        EXPECT_EQ(dwordValue(module, "LOADCTRLS"), 2u) << module;
        EXPECT_EQ(loaderValue(module), std::string("D:\\Plot\\") + release.module) << module;
        EXPECT_EQ(regValueNames(HKEY_LOCAL_MACHINE, module), (StringList{"LOADCTRLS", "LOADER"})) << module;
        EXPECT_EQ(dwordValue(library, "LOADCTRLS"), 2u) << library;
        EXPECT_EQ(loaderValue(library), "C:\\AutoCAD " + year + "\\" + release.library) << library;
        EXPECT_EQ(dwordValue(library, "MANAGED"), 1u) << library;
        EXPECT_EQ(regValueNames(HKEY_LOCAL_MACHINE, library), (StringList{"LOADCTRLS", "LOADER", "MANAGED"}))
            << library;
        // The 64 edition also registers the module built for the 32-bit side of 2009 and 2010.
        StringList names = subKeys(kVersion + "P" + year + "\\Applications");
        std::sort(names.begin(), names.end());
        StringList expected = {"TL_DodudEdiv" + year, "Torlen" + year + "DLLP"};
        if (platformBits == 64 && release.year == 2009) expected.push_back("TL_DodudEdiv2008");
        if (platformBits == 64 && release.year == 2010) expected.push_back("TL_DodudEdiv2010_32");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected) << year;
    }
}

TEST(DemandLoad, RebuildsEarlierKeysButKeepsAKeyWithSubkeys) {
    RegistrySandbox sandbox;
    const std::string product = kVersion + "P\\";
    addInstallation(product, "C:\\A2014", "AutoCAD 2014");
    regSetString(HKEY_LOCAL_MACHINE, product + "Applications\\TL_DodudEdiv2014", "STALE", "x");
    regSetString(HKEY_LOCAL_MACHINE, product + "Applications\\TL_DodudEdiv2014", "LOADER", "old");
    regSetString(HKEY_LOCAL_MACHINE, product + "Applications\\Torlen2014DLLP", "STALE", "x");
    regCreateKey(HKEY_LOCAL_MACHINE, product + "Applications\\Torlen2014DLLP\\Sub");
    Discovered table = discovered("D:\\Plot");
    EXPECT_TRUE(registered(table, only(2014)).empty());
    EXPECT_EQ(regValueNames(HKEY_LOCAL_MACHINE, product + "Applications\\TL_DodudEdiv2014"),
              (StringList{"LOADCTRLS", "LOADER"}));
    EXPECT_EQ(loaderValue(product + "Applications\\TL_DodudEdiv2014"), "D:\\Plot\\TL_DodudEdiv2013.ARX");
    EXPECT_TRUE(regKeyExists(HKEY_LOCAL_MACHINE, product + "Applications\\Torlen2014DLLP\\Sub"));
    StringList values = regValueNames(HKEY_LOCAL_MACHINE, product + "Applications\\Torlen2014DLLP");
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (StringList{"LOADCTRLS", "LOADER", "MANAGED", "STALE"}));
    EXPECT_EQ(loaderValue(product + "Applications\\Torlen2014DLLP"), "C:\\A2014\\ACAD2013P.dll");
}

TEST(DemandLoad, RegistersEveryRecordedProductKeyWithItsOwnFolder) {
    RegistrySandbox sandbox;
    addInstallation(kVersion + "A", "C:\\One", "AutoCAD 2009");
    addInstallation(kVersion + "B", "C:\\Two", "AutoCAD 2009");
    addInstallation(std::string(kWowRoot) + "R17.2\\A", "C:\\Wow", "AutoCAD 2009");
    Discovered table = discovered("D:\\Plot");
    ASSERT_EQ(table.installations.size(), 3u);
    EXPECT_TRUE(registered(table, only(2009)).empty());
    EXPECT_EQ(loaderValue(kVersion + "A\\Applications\\Torlen2009DLLP"), "C:\\One\\ACAD2009P.dll");
    EXPECT_EQ(loaderValue(kVersion + "B\\Applications\\Torlen2009DLLP"), "C:\\Two\\ACAD2009P.dll");
    EXPECT_EQ(loaderValue(std::string(kWowRoot) + "R17.2\\A\\Applications\\Torlen2009DLLP"),
              "C:\\Wow\\ACAD2009P.dll");
    EXPECT_EQ(loaderValue(std::string(kWowRoot) + "R17.2\\A\\Applications\\TL_DodudEdiv2009"),
              "D:\\Plot\\TL_DodudEdiv2009.ARX");
}

TEST(DemandLoad, EditionsDifferByTheTwoExtraModuleKeys) {
    for (int year : {2008, 2009, 2010, 2011}) {
        StringList keysOf[2];
        for (int edition = 0; edition < 2; ++edition) {
            RegistrySandbox sandbox;
            addInstallation(kVersion + "P", "C:\\A", "AutoCAD " + std::to_string(year));
            Discovered table = discovered("D:\\Plot");
            FailureLog failures;
            for (const AcadInstallation& installation : table.installations)
                registerInstallation(installation, edition == 0 ? 32 : 64, table.installFolder, failures);
            keysOf[edition] = subKeys(kVersion + "P\\Applications");
            std::sort(keysOf[edition].begin(), keysOf[edition].end());
        }
        StringList expected64 = keysOf[0];
        if (year == 2009) expected64.push_back("TL_DodudEdiv2008");
        if (year == 2010) expected64.push_back("TL_DodudEdiv2010_32");
        std::sort(expected64.begin(), expected64.end());
        EXPECT_EQ(keysOf[0].size(), 2u) << year;
        EXPECT_EQ(keysOf[1], expected64) << year;
    }
}

TEST(DemandLoad, NoReleaseSelectedStillAddsTheTrustedFolder) {
    RegistrySandbox sandbox;
    addInstallation(kVersion + "P", "C:\\A", "AutoCAD 2014");
    const std::string variables = "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804\\Profiles\\P\\Variables";
    regSetString(HKEY_CURRENT_USER, variables, "TRUSTEDPATHS", "c:\\lib");
    Discovered table = discovered("D:\\Plot");
    EXPECT_TRUE(registered(table, none()).empty());
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, kVersion + "P\\Applications"));
    std::string bytes;
    DWORD type = REG_NONE;
    ASSERT_TRUE(regReadValue(HKEY_CURRENT_USER, variables, "TRUSTEDPATHS", bytes, type));
    EXPECT_EQ(textOf(bytes), "c:\\lib;D:\\PLOT");
}

TEST(DemandLoad, LongFoldersAreWrittenWhole) {
    RegistrySandbox sandbox;
    const std::string location = "C:\\" + std::string(300, 'a');
    const std::string folder = "D:\\" + std::string(300, 'b');
    addInstallation(kVersion + "P", location, "AutoCAD 2014");
    Discovered table = discovered(folder);
    EXPECT_TRUE(registered(table, only(2014)).empty());
    EXPECT_EQ(loaderValue(kVersion + "P\\Applications\\TL_DodudEdiv2014"), folder + "\\TL_DodudEdiv2013.ARX");
    EXPECT_EQ(loaderValue(kVersion + "P\\Applications\\Torlen2014DLLP"), location + "\\ACAD2013P.dll");
}

TEST(DemandLoad, RecordsKeysThatCouldNotBeWrittenAndCarriesOn) {
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
    Discovered table{{}, "D:\\Plot"};
    for (const std::string& key : {gone, vol, locked, good})
        table.installations.push_back({2014, key, "C:\\A"});
    StringList failures = registered(table, only(2014));
    StringList expected = {"HKEY_LOCAL_MACHINE\\" + gone,
                           "HKEY_LOCAL_MACHINE\\" + vol + "Applications\\TL_DodudEdiv2014",
                           "HKEY_LOCAL_MACHINE\\" + vol + "Applications\\Torlen2014DLLP",
                           "HKEY_LOCAL_MACHINE\\" + locked + "Applications\\TL_DodudEdiv2014"};
    EXPECT_EQ(failures, expected);
    EXPECT_EQ(loaderValue(locked + "Applications\\Torlen2014DLLP"), "C:\\A\\ACAD2013P.dll");
    EXPECT_EQ(loaderValue(good + "Applications\\TL_DodudEdiv2014"), "D:\\Plot\\TL_DodudEdiv2013.ARX");
}
