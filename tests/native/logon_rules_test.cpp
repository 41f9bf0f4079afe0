// The logon step's rules: Active Setup versions read and raised, the registries that are a
// person's, the command Windows runs, and what a run may do with the items of a user's own record.
#include <gtest/gtest.h>

#include "users/LogonRules.h"
#include "users/UserRecordRules.h"

using namespace logon;

TEST(ComponentVersion, ReadsFourNumbersOfSixteenBitsOrNothing) {
    const struct {
        const char* text;
        bool read;
        const char* asWritten;
    } cases[] = {
        {"2026,1,1,0", true, "2026,1,1,0"},
        {"4,71,1113,0", true, "4,71,1113,0"},
        {"7", true, "7,0,0,0"},
        {"1,2", true, "1,2,0,0"},
        {"65535,0,0,65535", true, "65535,0,0,65535"},
        {"65536,0,0,0", false, ""},
        {"1,2,3,4,5", false, ""},
        {"1,,3", false, ""},
        {"", false, ""},
        {"1.2.3.4", false, ""},
        {" 1,2", false, ""},
        {"1,2,", false, ""},
        {"0000000001", false, ""},
    };
    for (const auto& c : cases) {
        ComponentVersion version;
        EXPECT_EQ(parseVersion(c.text, version), c.read) << c.text;
        if (c.read) EXPECT_EQ(versionText(version), c.asWritten) << c.text;
    }
}

// Each registration is higher than the one registered before, and higher than any version taken
// from an earlier time; a registered version from a later time (a clock set back) is passed by one.
TEST(ComponentVersion, EveryRegistrationIsHigherThanTheOneBefore) {
    const unsigned long long day = 24ULL * 3600 * 1000;
    const struct {
        unsigned year;
        unsigned long long milliseconds;
        const char* registered;
        const char* next;
    } cases[] = {
        {2026, 0, "", "2026,0,0,0"},
        {2026, 0x123456789ULL, "", "2026,1,9029,26505"},
        {2026, 364 * day, "garbage", "2026,7,21130,53248"},
        {2026, 100, "2025,7,0,0", "2026,0,0,100"},        // a later year, whatever the time before
        {2026, 100, "2026,0,0,100", "2026,0,0,101"},      // twice in one millisecond
        {2026, 100, "2026,0,1,0", "2026,0,1,1"},          // the clock set back
        {2026, 100, "2026,0,0,65535", "2026,0,1,0"},      // carried
        {2026, 100, "2026,0,65535,65535", "2026,1,0,0"},  // carried twice
        {2026, 100, "2026,1,1,0", "2026,1,1,1"},          // an earlier build's fixed version
        {2025, 100, "2026,0,0,0", "2026,0,0,1"},          // a later year registered
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nextVersion(c.year, c.milliseconds, c.registered), c.next) << c.registered;
        ComponentVersion before, next;
        if (parseVersion(c.registered, before) && parseVersion(c.next, next))
            EXPECT_TRUE(isLower(before, next));
    }
}

TEST(PersonsRegistry, OnlyAPersonsSecurityIdentifier) {
    const struct {
        const char* name;
        bool person;
    } cases[] = {
        {"S-1-5-21-0-0-0-1000", true},
        {"S-1-5-21-1004336348-1177238915-682003330-1234", true},
        {"S-1-12-1-3014767140-1116513424-3007383444-2263183172", true},  // an Azure AD account
        {"S-1-5-21-0-0-0-1000_Classes", false},
        {".DEFAULT", false},
        {"S-1-5-18", false},  // SYSTEM
        {"S-1-5-19", false},  // LocalService
        {"S-1-5-20", false},  // NetworkService
        {"S-1-5-180", false},
        {"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", false},  // a service's
        {"S-1-5-82-3006700770-424185619-1745488364-794895919-4004696415", false},   // an IIS pool's
        {"S-1-", false},
        {"TorlenBatchPrint-S-1-5-21-0-0-0-1000", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isPersonsRegistry(c.name), c.person) << c.name;
}

TEST(LogonCommandLine, IsTheProgramsPathInQuotesAlone) {
    for (const std::wstring& path :
         {std::wstring(L"C:\\T-DodudEdiv\\TorlenUserSetup.exe"),
          std::wstring(L"D:\\CAD Tools\\批打印\\T-DodudEdiv\\TorlenUserSetup.exe")})
        EXPECT_EQ(logonCommandLine(path), L"\"" + path + L"\"");
}

// What an administrator's run may do with each item of a user's own record: only what undoing can
// reach within that user's registry and settings folder; everything a user could aim elsewhere is
// refused, whatever its kind.
TEST(UserRecord, AdmitsOnlyWhatUndoingKeepsWithinTheUsersOwnThings) {
    using userrecord::Verdict;
    const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                      settings = "C:\\Users\\ann\\AppData\\Roaming\\Torlen";
    const std::string variables =
        "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:804\\Profiles\\<<P>>\\Variables";
    const struct {
        const char* kind;
        std::string path, detail, extra;
        Verdict verdict;
    } cases[] = {
        {"trusted", variables, "D:\\Plot", "", Verdict::InUsersRegistry},
        {"trusted", "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\..\\Profiles\\P\\Variables", "D:\\Plot", "",
         Verdict::Refused},
        {"trusted", "SOFTWARE\\Victim\\Variables", "D:\\Plot", "", Verdict::Refused},
        {"value", run, "TorlenBatchPrint64", "", Verdict::InUsersRegistry},
        {"valuebackup", run, "TorlenBatchPrint64", "", Verdict::InUsersRegistry},
        {"value", run, "OtherProgram", "", Verdict::Refused},
        {"valuebackup", "SOFTWARE\\Classes", "TorlenBatchPrint64", "", Verdict::Refused},
        {"file", settings + "\\Torlen.Ini", "", "", Verdict::UsersFile},
        {"folder", settings, "", "", Verdict::UsersFile},
        {"filebackup", settings + "\\Torlen.Ini", "", settings + "\\Torlen.Ini.torlen-12",
         Verdict::UsersFile},
        {"filebackup", settings + "\\Torlen.Ini", "", "C:\\Windows\\win.ini", Verdict::Refused},
        {"filebackup", settings + "\\Torlen.Ini", "", settings + "\\Torlen.Ini.torlen-1\\..\\x",
         Verdict::Refused},
        {"filebackup", "C:\\Program Files\\x.dll", "", "C:\\Program Files\\x.dll.torlen-1", Verdict::Refused},
        {"file", "C:\\Windows\\System32\\x.dll", "", "", Verdict::Refused},
        {"folder", "C:\\Users\\ann\\Documents", "", "", Verdict::Refused},
        {"kept", settings + "\\Torlen.Ini", settings + "\\Torlen.Ini.original", "", Verdict::Refused},
        {"key", "SOFTWARE", "Microsoft", "", Verdict::Refused},
        {"security", settings, "", "", Verdict::Refused},
        {"removal", settings, "", "", Verdict::Refused},
    };
    for (const auto& c : cases) {
        const ItemRecord item{c.kind, c.path, c.detail, c.extra, false, {}};
        EXPECT_EQ(userrecord::judge(item, "TorlenBatchPrint64"), c.verdict)
            << c.kind << " " << c.path << " " << c.extra;
    }
}
