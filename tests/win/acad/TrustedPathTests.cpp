// Trusted-path registration against the real registry (HKEY_CURRENT_USER redirected).
#include <gtest/gtest.h>

#include "acad/AcadRegistry.h"
#include "acad/AcadReleaseTable.h"
#include "support/Sandbox.h"

namespace {

const std::string kProfiles = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\";
const std::string kVariables = kProfiles + "<<Unnamed Profile>>\\Variables";

// Wine, like Windows, stores a string with its terminating zero even when the length
// given leaves it out; compare the text.
std::string textOf(std::string bytes) {
    while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

struct Stored {
    bool present = false;
    std::string bytes;
    DWORD type = REG_NONE;
};

Stored trustedPaths(const std::string& variablesKey) {
    Stored stored;
    stored.present = regReadValue(HKEY_CURRENT_USER, variablesKey, "TRUSTEDPATHS", stored.bytes, stored.type);
    stored.bytes = textOf(stored.bytes);
    return stored;
}

void addTrustedFolder(const std::string& folder, StringList* failures = nullptr) {
    AcadReleaseTable table;
    table.installFolder = folder;
    table.addTrustedFolder();
    if (failures) *failures = table.registrationFailures;
}

std::string longList() {
    std::string list;
    for (int i = 0; list.size() < 12000; ++i) list += "C:\\LIBRARY" + std::to_string(i) + ";";
    return list + "C:\\LAST";
}

}  // namespace

TEST(TrustedPaths, ComposesTheListOfOneProfile) {
    struct Case {
        const char* name;
        bool exists;
        std::string current;
        DWORD type;
        std::string expected;
        DWORD expectedType;
    } cases[] = {
        {"missing Variables key is created", false, "", REG_SZ, "D:\\Plot", REG_SZ},
        {"single semicolon", true, ";", REG_SZ, "D:\\Plot", REG_SZ},
        {"single dot", true, ".", REG_SZ, "D:\\Plot", REG_SZ},
        {"two characters", true, "c:", REG_SZ, "D:\\Plot", REG_SZ},
        {"folder added upper-cased", true, "c:\\lib;d:\\tools", REG_SZ, "C:\\LIB;D:\\TOOLS;D:\\PLOT", REG_SZ},
        {"folder present as a substring", true, "D:\\PLOT\\OLD;C:\\X", REG_SZ, "D:\\PLOT\\OLD;C:\\X", REG_SZ},
        {"expandable list keeps its type", true, "%AppData%\\lib", REG_EXPAND_SZ, "%APPDATA%\\LIB;D:\\PLOT",
         REG_EXPAND_SZ},
        {"list over 10000 bytes keeps every entry", true, longList(), REG_SZ, longList() + ";D:\\PLOT",
         REG_SZ},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        if (c.exists)
            regSetString(HKEY_CURRENT_USER, kVariables, "TRUSTEDPATHS", c.current, c.type);
        else
            regCreateKey(HKEY_CURRENT_USER, kProfiles + "<<Unnamed Profile>>");
        addTrustedFolder("D:\\Plot");
        Stored stored = trustedPaths(kVariables);
        EXPECT_TRUE(stored.present) << c.name;
        EXPECT_EQ(stored.bytes, c.expected) << c.name;
        EXPECT_EQ(stored.type, c.expectedType) << c.name;
    }
}

TEST(TrustedPaths, UpdatesEveryProfileOfEveryVersionAndProductOnce) {
    RegistrySandbox sandbox;
    const std::string autocad = "SOFTWARE\\Autodesk\\AutoCAD\\";
    const StringList variablesKeys = {
        autocad + "R17.2\\ACAD-7001:804\\Profiles\\<<Unnamed Profile>>\\Variables",
        autocad + "R17.2\\ACAD-7001:804\\Profiles\\Plotting\\Variables",
        autocad + "R17.2\\ACAD-7005:804\\Profiles\\\xce\xb4\xc3\xfc\xc3\xfb\\Variables",
        autocad + "R24.0\\ACAD-3001:804\\Profiles\\<<Unnamed Profile>>\\Variables",
    };
    for (const std::string& key : variablesKeys)
        regSetString(HKEY_CURRENT_USER, key, "TRUSTEDPATHS", "c:\\lib");
    regCreateKey(HKEY_CURRENT_USER, autocad + "R24.0\\ACAD-3001:804\\NoProfiles");

    addTrustedFolder("D:\\Plot");
    for (const std::string& key : variablesKeys)
        EXPECT_EQ(trustedPaths(key).bytes, "C:\\LIB;D:\\PLOT") << key;
    addTrustedFolder("D:\\Plot");
    for (const std::string& key : variablesKeys)
        EXPECT_EQ(trustedPaths(key).bytes, "C:\\LIB;D:\\PLOT") << key;
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, autocad + "R24.0\\ACAD-3001:804\\NoProfiles\\Variables"));
}

TEST(TrustedPaths, WritesNothingWithoutAutoCadSettings) {
    RegistrySandbox sandbox;
    regCreateKey(HKEY_CURRENT_USER, "SOFTWARE\\Other");
    StringList failures;
    addTrustedFolder("D:\\Plot", &failures);
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk"));
    EXPECT_TRUE(failures.empty());
}

TEST(TrustedPaths, RecordsAListThatCannotBeWritten) {
    RegistrySandbox sandbox;
    const std::string other = kProfiles + "Other\\Variables";
    regSetString(HKEY_CURRENT_USER, kVariables, "TRUSTEDPATHS", "c:\\lib");
    regSetString(HKEY_CURRENT_USER, other, "TRUSTEDPATHS", "c:\\lib");
    ASSERT_TRUE(setKeySecurity(HKEY_CURRENT_USER, kVariables, kReadOnlySddl));
    if (canSetValue(HKEY_CURRENT_USER, kVariables))
        GTEST_SKIP() << "this Wine does not honour a registry key's DACL";
    StringList failures;
    addTrustedFolder("D:\\Plot", &failures);
    EXPECT_EQ(failures, StringList{"HKEY_CURRENT_USER\\" + kVariables + "\\TRUSTEDPATHS"});
    EXPECT_EQ(trustedPaths(kVariables).bytes, "c:\\lib");
    EXPECT_EQ(trustedPaths(other).bytes, "C:\\LIB;D:\\PLOT");
}
