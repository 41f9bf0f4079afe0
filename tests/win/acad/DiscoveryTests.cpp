// Release discovery against the real registry (HKEY_LOCAL_MACHINE redirected per test).
#include <gtest/gtest.h>

#include <functional>

#include "acad/AcadInstallations.h"
#include "acad/AcadRegistry.h"
#include "framework/Registry.h"
#include "support/Sandbox.h"

namespace {

struct Found {
    int index;
    std::string keyPath;
    std::string location;
    bool operator==(const Found& o) const {
        return index == o.index && keyPath == o.keyPath && location == o.location;
    }
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return out << "{" << f.index << ", " << f.keyPath << ", " << f.location << "}";
}

std::vector<Found> discover() {
    std::vector<Found> found;
    for (const AcadInstallation& installation : findAcadReleases())
        found.push_back(
            {installation.year - kFirstReleaseYear, installation.productKey, installation.location});
    return found;
}

const std::string kV = std::string(kNativeRoot) + "R18.0\\";
const std::string kWowV = std::string(kWowRoot) + "R18.0\\";

struct Scenario {
    const char* name;
    std::function<void()> arrange;
    std::vector<Found> expected;
};

}  // namespace

TEST(Discovery, RecordsInstallationsByTheRulesOfThePairing) {
    const std::string longFolder = "C:\\" + std::string(700, 'L');
    const std::string longName(255, 'N');
    // What a program of this width sees on 64-bit Windows (see the scenarios below).
    const Found wow2009 = {2, kWowRoot + std::string("R17.2\\ACAD-7001:804\\"), "C:\\A2009"};
    std::vector<Found> bothRootsExpected = {{2, kWowV + "P\\", "C:\\A2009"}, {2, kV + "P\\", "C:\\A2009"}};
    std::vector<Found> mixedMachineExpected = {
        wow2009, {7, kNativeRoot + std::string("R19.1\\ACAD-D001:804\\"), "C:\\A2014"}};
    if (isWow64Process()) {
        bothRootsExpected.pop_back();
        mixedMachineExpected = {wow2009,
                                {5, kNativeRoot + std::string("R18.2\\ACAD-A001:804\\"), "C:\\A2012"}};
    }
    const Scenario scenarios[] = {
        {"no release root", [] {}, {}},
        {"product key below the native root; one trailing backslash dropped",
         [] { addInstallation(kV + "ACAD-8001:804", "C:\\AutoCAD 2010\\", "AutoCAD 2010"); },
         {{3, kV + "ACAD-8001:804\\", "C:\\AutoCAD 2010"}}},
        // A 64-bit program reads two different keys here. Under WOW64 both roots show the
        // Wow6432Node tree: one installation, met twice, recorded once.
        {"one installation below both roots: Wow6432Node first",
         [] {
             addInstallation(kV + "P", "C:\\A2009", "AutoCAD 2009");
             addInstallation(kWowV + "P", "C:\\A2009", "AutoCAD 2009");
         },
         bothRootsExpected},
        {"64-bit Windows: 32-bit AutoCAD 2009 and 2012 below Wow6432Node, 64-bit AutoCAD 2014",
         [] {
             addInstallation(kWowRoot + std::string("R17.2\\ACAD-7001:804"), "C:\\A2009", "AutoCAD 2009");
             addInstallation(kWowRoot + std::string("R18.2\\ACAD-A001:804"), "C:\\A2012", "AutoCAD 2012");
             addInstallation(kNativeRoot + std::string("R19.1\\ACAD-D001:804"), "C:\\A2014", "AutoCAD 2014");
         },
         mixedMachineExpected},
        {"2011 and later only from the native root",
         [] {
             addInstallation(kV + "P", "C:\\A2011", "AutoCAD 2011");
             addInstallation(kWowV + "P", "C:\\A2011", "AutoCAD 2011");
         },
         {{4, kV + "P\\", "C:\\A2011"}}},
        {"year at position 0 is not a release",
         [] { addInstallation(kV + "P", "C:\\A", "2010 AutoCAD"); },
         {}},
        {"two years: the earlier wins",
         [] { addInstallation(kV + "P", "C:\\A", "AutoCAD 2014 (2008)"); },
         {{1, kV + "P\\", "C:\\A"}}},
        {"values only in nested keys",
         [] { addInstallation(kV + "G\\P", "C:\\A", "AutoCAD 2026"); },
         {{19, kV + "G\\P\\", "C:\\A"}}},
        {"location and product name in different keys",
         [] {
             regSetString(HKEY_LOCAL_MACHINE, kV + "P", "AcadLocation", "C:\\A");
             regSetString(HKEY_LOCAL_MACHINE, kV, "ProductName", "AutoCAD 2012");
             regSetString(HKEY_LOCAL_MACHINE, kV + "Q", "ProductName", "AutoCAD 2012");
             regSetString(HKEY_LOCAL_MACHINE, kV + "Q\\Sub", "AcadLocation", "C:\\Q");
         },
         {}},
        {"the version key holds both values and hides a nested installation",
         [] {
             addInstallation(kV, "C:\\Top\\", "AutoCAD 2013");
             addInstallation(kV + "P", "C:\\Nested", "AutoCAD 2013");
         },
         {{6, kV, "C:\\Top"}}},
        {"non-string location: its bytes up to the first zero",
         [] {
             regSetBinary(HKEY_LOCAL_MACHINE, kV + "P", "AcadLocation", std::string("C:\\Bin\0junk", 11));
             regSetString(HKEY_LOCAL_MACHINE, kV + "P", "ProductName", "AutoCAD 2015");
         },
         {{8, kV + "P\\", "C:\\Bin"}}},
        {"two products below one version, in enumeration order",
         [] {
             addInstallation(kV + "A", "C:\\One", "AutoCAD 2018");
             addInstallation(kV + "B", "C:\\Two", "AutoCAD 2018");
         },
         {{11, kV + "A\\", "C:\\One"}, {11, kV + "B\\", "C:\\Two"}}},
        {"values longer than 520 bytes are read whole",
         [=] { addInstallation(kV + "P", longFolder + "\\", "AutoCAD 2019 " + std::string(600, 'x')); },
         {{12, kV + "P\\", longFolder}}},
        {"names at the 255-character limit",
         [=] { addInstallation(kNativeRoot + longName + "\\" + longName, "C:\\A", "AutoCAD 2020"); },
         {{13, kNativeRoot + longName + "\\" + longName + "\\", "C:\\A"}}},
        {"a double-byte character whose trail byte is a backslash stays",
         [] { addInstallation(kV + "P", "C:\\\xb1\\", "AutoCAD 2021"); },
         {{14, kV + "P\\", "C:\\\xb1\\"}}},
    };
    for (const Scenario& s : scenarios) {
        RegistrySandbox sandbox;
        s.arrange();
        EXPECT_EQ(discover(), s.expected) << s.name;
    }
}

TEST(Discovery, SkipsKeysThatCannotBeOpened) {
    RegistrySandbox sandbox;
    addInstallation(kV + "A", "C:\\Hidden", "AutoCAD 2010");
    addInstallation(kV + "B", "C:\\Seen", "AutoCAD 2010");
    addInstallation(kNativeRoot + std::string("R19.0\\P"), "C:\\HiddenVersion", "AutoCAD 2013");
    ASSERT_TRUE(setKeySecurity(HKEY_LOCAL_MACHINE, kV + "A", kNoAccessSddl));
    ASSERT_TRUE(setKeySecurity(HKEY_LOCAL_MACHINE, kNativeRoot + std::string("R19.0"), kNoAccessSddl));
    ASSERT_FALSE(canOpenForRead(HKEY_LOCAL_MACHINE, kV + "A"))
        << "this Wine does not honour a registry key's DACL";
    EXPECT_EQ(discover(), (std::vector<Found>{{3, kV + "B\\", "C:\\Seen"}}));
}

TEST(ListSubKeyNames, AppendsOpenableNamesInOrder) {
    RegistrySandbox sandbox;
    RegistryKey key;
    regCreateKey(HKEY_CURRENT_USER, "Empty");
    ASSERT_EQ(key.open(HKEY_CURRENT_USER, "Empty", KEY_READ), ERROR_SUCCESS);
    StringList names = {"kept"};
    listSubKeyNames(key, names);
    EXPECT_EQ(names, StringList{"kept"});

    const std::string longName(255, 'z');
    std::string longChineseName;  // 255 characters, 510 bytes in code page 936
    for (int i = 0; i < 255; ++i) longChineseName += "\xd6\xd0";
    for (const std::string& name : {std::string("a"), std::string("b"), longName, longChineseName})
        RegCloseKey(createKeyByNames(HKEY_CURRENT_USER, "Parent\\" + name + "\\child"));
    ASSERT_TRUE(setKeySecurity(HKEY_CURRENT_USER, "Parent\\b", kNoAccessSddl) &&
                !canOpenForRead(HKEY_CURRENT_USER, "Parent\\b"))
        << "this Wine does not honour a registry key's DACL";
    ASSERT_EQ(key.open(HKEY_CURRENT_USER, "Parent", KEY_READ), ERROR_SUCCESS);
    names.clear();
    listSubKeyNames(key, names);
    EXPECT_EQ(names, (StringList{"a", longName, longChineseName}));
}
