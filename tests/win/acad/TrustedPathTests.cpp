// The trusted-folder entries as work items against the real registry (HKEY_CURRENT_USER
// redirected): the list each profile gets, what is left alone and reported, and that rolling the
// run back puts the registry back as it was.
#include <gtest/gtest.h>

#include "acad/AcadInstallations.h"
#include "acad/AcadRegistry.h"
#include "acad/TrustedEntryItem.h"
#include "support/Sandbox.h"

namespace {

const std::string kProfiles = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\";
const std::string kVariables = kProfiles + "<<Unnamed Profile>>\\Variables";

struct Stored {
    bool present = false;
    std::wstring text;
    DWORD type = REG_NONE;
};

Stored trustedPaths(const std::string& variablesKey) {
    Stored stored;
    stored.present = regReadWide(HKEY_CURRENT_USER, variablesKey, "TRUSTEDPATHS", stored.text, stored.type);
    return stored;
}

// The folder added to every profile, each item made at once (no record); the subjects of those
// that failed.
StringList addTrustedFolder(const std::string& folder) {
    FailureLog failures;
    for (auto& item : trustedEntryItems(folder)) {
        Failure failure = item->apply();
        if (failure.failed()) failures.push_back(failure);
    }
    return subjectsOf(failures);
}

std::wstring longList() {
    std::wstring list;
    for (int i = 0; list.size() < 12000; ++i) list += L"C:\\LIBRARY" + std::to_wstring(i) + L";";
    return list + L"C:\\LAST";
}

}  // namespace

// The list is UTF-16 as AutoCAD writes it: entries with characters outside code page 936
// (Korean, accented Latin, a CJK extension ideograph as a surrogate pair) come back unchanged.
// Rolled back, the run leaves the user's registry as it found it.
TEST(TrustedPaths, ComposesTheListOfOneProfileAndTakesTheEntryBack) {
    const std::wstring foreign = L"C:\\\uD55C\uAD6D\uC5B4;D:\\\u00C9t\u00E9;E:\\\U00020000x;c:\\lib";
    struct Case {
        const char* name;
        bool exists;
        std::wstring current;
        DWORD type;
        std::wstring expected;
        DWORD expectedType;
    } cases[] = {
        {"missing Variables key is created", false, L"", REG_SZ, L"D:\\Plot", REG_SZ},
        {"single semicolon", true, L";", REG_SZ, L"D:\\Plot", REG_SZ},
        {"a short entry is kept", true, L".", REG_SZ, L".;D:\\PLOT", REG_SZ},
        {"entries outside code page 936 kept exactly", true, foreign, REG_SZ, foreign + L";D:\\PLOT", REG_SZ},
        {"a longer folder with the same start is another folder", true, L"D:\\PLOT\\OLD;D:\\PLOTTER", REG_SZ,
         L"D:\\PLOT\\OLD;D:\\PLOTTER;D:\\PLOT", REG_SZ},
        {"trusted already, other letter case", true, L"c:\\x;d:\\plot\\", REG_SZ, L"c:\\x;d:\\plot\\",
         REG_SZ},
        {"trusted through its parent", true, L"D:\\...", REG_SZ, L"D:\\...", REG_SZ},
        {"expandable list keeps its type", true, L"%AppData%\\lib", REG_EXPAND_SZ, L"%AppData%\\lib;D:\\PLOT",
         REG_EXPAND_SZ},
        {"list over 10000 bytes keeps every entry", true, longList(), REG_SZ, longList() + L";D:\\PLOT",
         REG_SZ},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegistrySandbox sandbox;
        if (c.exists)
            regSetWide(HKEY_CURRENT_USER, kVariables, "TRUSTEDPATHS", c.current, c.type);
        else
            regCreateKey(HKEY_CURRENT_USER, kProfiles + "<<Unnamed Profile>>");
        const std::string before = registryExport(HKEY_CURRENT_USER);
        RecordStore user = RecordStore::currentUser();
        Journal journal(nullptr, &user);
        EXPECT_TRUE(applyAll(journal, trustedEntryItems("D:\\Plot")).empty());
        Stored stored = trustedPaths(kVariables);
        EXPECT_TRUE(stored.present);
        EXPECT_EQ(stored.text, c.expected);
        EXPECT_EQ(stored.type, c.expectedType);
        EXPECT_TRUE(journal.rollback().empty());
        EXPECT_EQ(registryExport(HKEY_CURRENT_USER), before);
    }
}

// Folder names compare as the file system compares them, beyond a..z; a value that is not
// text is left alone and reported.
TEST(TrustedPaths, ComparesAccentedFoldersWithoutCaseAndLeavesOtherTypesAlone) {
    RegistrySandbox sandbox;
    const std::string binary = kProfiles + "Binary\\Variables";
    regSetWide(HKEY_CURRENT_USER, kVariables, "TRUSTEDPATHS", L"D:\\\u00C9T\u00C9");
    regSetBinary(HKEY_CURRENT_USER, binary, "TRUSTEDPATHS", std::string("\x01\x02", 2));
    StringList failures = addTrustedFolder("D:\\\xa8\xa6t\xa8\xa6");  // D:\été in code page 936
    EXPECT_EQ(trustedPaths(kVariables).text, L"D:\\\u00C9T\u00C9");
    std::string bytes;
    DWORD type = REG_NONE;
    ASSERT_TRUE(regReadValue(HKEY_CURRENT_USER, binary, "TRUSTEDPATHS", bytes, type));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, std::string("\x01\x02", 2));
    EXPECT_EQ(failures, StringList{"HKEY_CURRENT_USER\\" + binary + "\\TRUSTEDPATHS"});
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
        regSetWide(HKEY_CURRENT_USER, key, "TRUSTEDPATHS", L"c:\\lib");
    regCreateKey(HKEY_CURRENT_USER, autocad + "R24.0\\ACAD-3001:804\\NoProfiles");

    for (int run = 1; run <= 2; ++run) {
        EXPECT_TRUE(addTrustedFolder("D:\\Plot").empty());
        for (const std::string& key : variablesKeys)
            EXPECT_EQ(trustedPaths(key).text, L"c:\\lib;D:\\PLOT") << key << ", run " << run;
    }
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, autocad + "R24.0\\ACAD-3001:804\\NoProfiles\\Variables"));
}

TEST(TrustedPaths, WritesNothingWithoutAutoCadSettings) {
    RegistrySandbox sandbox;
    regCreateKey(HKEY_CURRENT_USER, "SOFTWARE\\Other");
    EXPECT_TRUE(trustedEntryItems("D:\\Plot").empty());
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk"));
}

TEST(TrustedPaths, ReportsAListThatCannotBeWrittenAndCarriesOn) {
    RegistrySandbox sandbox;
    const std::string other = kProfiles + "Other\\Variables";
    regSetWide(HKEY_CURRENT_USER, kVariables, "TRUSTEDPATHS", L"c:\\lib");
    regSetWide(HKEY_CURRENT_USER, other, "TRUSTEDPATHS", L"c:\\lib");
    ASSERT_TRUE(setKeySecurity(HKEY_CURRENT_USER, kVariables, kReadOnlySddl));
    ASSERT_FALSE(canSetValue(HKEY_CURRENT_USER, kVariables))
        << "this Wine does not honour a registry key's DACL";
    EXPECT_EQ(addTrustedFolder("D:\\Plot"),
              StringList{"HKEY_CURRENT_USER\\" + kVariables + "\\TRUSTEDPATHS"});
    EXPECT_EQ(trustedPaths(kVariables).text, L"c:\\lib");
    EXPECT_EQ(trustedPaths(other).text, L"c:\\lib;D:\\PLOT");
    setKeySecurity(HKEY_CURRENT_USER, kVariables, "D:P(A;;KA;;;WD)");
}
