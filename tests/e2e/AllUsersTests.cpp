// End to end: an installation for every user of the machine (SetUpCmd install --all-users) and
// its uninstallation, through the real SetUpCmd.exe and the logon program it leaves in the
// plug-in's folder, with logons played as Windows plays them (Active Setup's version rule, the
// user's Run values). Other users' registries are files loaded below HKEY_USERS: Wine loads its
// own registry files (not Windows' NTUSER.DAT format), and does not write a loaded file back when
// it is unloaded, so what uninstall changes in a registry it loaded itself is read in its log
// and in the files of that user it removed.
#include <gtest/gtest.h>

#include <algorithm>

#include "Driver.h"
#include "framework/SystemCodePage.h"
#include "framework/WideText.h"

using namespace e2e;

namespace {

const std::string kSource = "C:\\e2e\\all-users-source";
const std::string kAcadRoot = "C:\\e2e\\acad";
const std::string kLog = "C:\\e2e\\all-users.log";
const std::wstring kLogOption = L" --log C:\\e2e\\all-users.log";
const std::string kProfile =
    "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804\\Profiles\\Default\\Variables";
const std::wstring kOthersTrusted = L"c:\\lib;D:\\도면\\😀;E:\\共享\\...";
const std::string kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const std::string kUserRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

const std::vector<std::string> kDataFiles = {"TL_DodudEdiv2013.ARX", "ACAD2013P.dll", "itextsharp.dll",
                                             "Torlen_EN.shx",        "Torlen_HZ.shx", "Torlen.Ini"};

std::wstring wide(const std::string& text) { return fromUtf8(utf8OfSystem(text)); }
std::string systemPath(const std::wstring& text) {
    std::string path;
    narrowToSystemCodePage(text, path);
    return path;
}

// A chosen folder with spaces, and with Chinese names where the system code page holds them (the
// installer refuses a folder it cannot name, as on an English Windows).
std::wstring spacedFolder() { return GetACP() == 936 ? L"C:\\e2e\\批打印 插件" : L"C:\\e2e\\Batch Print"; }
std::string spacedTarget() { return systemPath(spacedFolder()) + "\\T-DodudEdiv"; }
// A folder as the trusted list gets it: upper-cased (the Chinese names have no case).
std::wstring asTrusted(std::wstring folder) {
    for (wchar_t& c : folder) c = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    return folder;
}

std::string appDataTorlen() {
    char appData[MAX_PATH] = {};
    GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
    return std::string(appData) + "\\Torlen";
}

// This edition's Active Setup component, where it is stored.
std::string componentKey() {
    return std::string(isWow64Process() ? "SOFTWARE\\Wow6432Node\\" : "SOFTWARE\\") +
           "Microsoft\\Active Setup\\Installed Components\\TorlenBatchPrint";
}
std::string runValueName() { return "TorlenBatchPrint" + std::to_string(platformBits); }

bool contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// A machine with an AutoCAD 2014 of the edition's width; the current user has no AutoCAD profile.
class AllUsersTest : public ::testing::Test {
   protected:
    void SetUp() override {
        clearAutodeskKeys();
        regDeleteTree(HKEY_LOCAL_MACHINE, componentKey());
        forgetUser();
        DeleteFileA(kLog.c_str());
        for (const std::string& folder : {std::string("C:\\T-DodudEdiv"), systemPath(spacedFolder())})
            removeTree(folder);
        source_ = prepareInstallSource(kSource, kDataFiles);
        addEditionAcad(2014, kAcadRoot);
        before_ = state();
    }
    void TearDown() override {
        clearAutodeskKeys();
        regDeleteTree(HKEY_LOCAL_MACHINE, componentKey());
        forgetUser();
    }

    // The current user as one who has not logged on since the installation: nothing of the logon
    // step's, and no version of it recorded by Windows.
    static void forgetUser() {
        regDeleteTree(HKEY_CURRENT_USER, userVersionKey(componentKey()));
        regDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Torlen");
        regDeleteValue(HKEY_CURRENT_USER, kUserRun, runValueName());
        removeTree(appDataTorlen());
    }

    CommandRun run(const std::wstring& arguments) const { return runCommand(source_.cmd, arguments); }
    // The folder in quotes; a closing backslash doubled, as on any command line (else it would
    // escape the quote).
    CommandRun install(const std::wstring& chosen) const {
        const std::wstring closing = chosen.back() == L'\\' ? L"\\" : L"";
        return run(L"install --folder \"" + chosen + closing + L"\" --all-users" + kLogOption);
    }
    static std::string state() {
        return machineExport({kAcadRoot, "C:\\T-DodudEdiv", systemPath(spacedFolder())});
    }
    static std::wstring log() { return readUtf8File(kLog); }
    static std::wstring trustedPaths(HKEY root = HKEY_CURRENT_USER,
                                     const std::string& below = std::string()) {
        std::wstring text;
        DWORD type = REG_NONE;
        return regReadWide(root, below + kProfile, "TRUSTEDPATHS", text, type) ? text : L"<missing>";
    }
    static std::wstring runValue() {
        std::wstring text;
        DWORD type = REG_NONE;
        return regReadWide(HKEY_CURRENT_USER, kUserRun, runValueName(), text, type) ? text : L"<missing>";
    }

    InstallSource source_;
    std::string before_;
};

}  // namespace

// A user who logs on before AutoCAD made a profile for them gets the folder trusted at the first
// logon after the profile exists, and the step stops running then; installing again runs it once
// more; the copy kept in the plug-in's folder uninstalls and removes itself. For a drive root and
// a folder with spaces (and Chinese names): the command Windows runs is the program's path alone.
TEST_F(AllUsersTest, AUserGetsTheFolderTrustedAtTheFirstLogonAfterAutoCADMadeTheirProfile) {
    const struct {
        std::wstring chosen;
        std::string target;
        std::wstring entry;  // as the trusted list gets it
    } cases[] = {{L"C:\\", "C:\\T-DodudEdiv", L"C:\\T-DODUDEDIV"},
                 {spacedFolder(), spacedTarget(), asTrusted(spacedFolder() + L"\\T-DodudEdiv")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.chosen));
        const std::wstring program = L"\"" + wide(c.target) + L"\\TorlenUserSetup.exe\"";
        const CommandRun installed = install(c.chosen);
        ASSERT_EQ(installed.exitCode, 0u) << log() << installed.err;
        std::wstring stub;
        DWORD type = REG_NONE;
        ASSERT_TRUE(regReadWide(HKEY_LOCAL_MACHINE, componentKey(), "StubPath", stub, type));
        EXPECT_EQ(stub, program);
        // The installing account has no AutoCAD profile either: its part waits for its next logon.
        EXPECT_EQ(runValue(), program);

        forgetUser();
        // Active Setup runs the step, which finds no profile and sets itself to run again.
        EXPECT_EQ(playLogon(componentKey()), (std::vector<std::wstring>{program, program}));
        EXPECT_TRUE(fileExists(appDataTorlen() + "\\Torlen.Ini"));
        EXPECT_EQ(trustedPaths(), L"<missing>");
        EXPECT_EQ(runValue(), program);

        regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);  // AutoCAD made one
        EXPECT_EQ(playLogon(componentKey()), std::vector<std::wstring>{program});
        EXPECT_EQ(trustedPaths(), kOthersTrusted + L";" + c.entry);
        EXPECT_EQ(runValue(), L"<missing>");
        EXPECT_TRUE(playLogon(componentKey()).empty());

        ASSERT_EQ(install(c.chosen).exitCode, 0u) << log();
        EXPECT_EQ(playLogon(componentKey()), std::vector<std::wstring>{program});
        EXPECT_EQ(trustedPaths(), kOthersTrusted + L";" + c.entry);

        const CommandRun kept =
            runCommandLine(L"\"" + wide(c.target) + L"\\SetUpCmd.exe\" uninstall" + kLogOption);
        EXPECT_EQ(kept.exitCode, 0u) << log();
        EXPECT_TRUE(waitUntilRemoved(c.target, 10000));
        EXPECT_EQ(trustedPaths(), kOthersTrusted);
        EXPECT_FALSE(isFolder(appDataTorlen()));
        EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, componentKey()));
        EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Torlen"));
        regDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
        EXPECT_EQ(state(), before_);
    }
}

// Uninstall takes the part of a second user away from that user's registry: one Windows has
// loaded (a user logged on), and one only the machine's profile list names, which uninstall
// loads from the profile's registry file. An entry the user had before stays.
TEST_F(AllUsersTest, UninstallTakesEveryUsersPartAwayFromTheirRegistry) {
    const std::string sid = "S-1-5-21-1004336348-1177238915-682003330-1234";
    const std::string profileFolder = "C:\\users\\e2e-second";
    const std::string settings = profileFolder + "\\AppData\\Roaming\\Torlen\\Torlen.Ini";
    const std::wstring chosen = spacedFolder();
    const std::string target = spacedTarget();
    const std::wstring program = L"\"" + wide(target) + L"\\TorlenUserSetup.exe\"";
    for (bool loadedByWindows : {true, false}) {
        SCOPED_TRACE(loadedByWindows ? "loaded by Windows" : "in the profile list only");
        regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);
        ASSERT_EQ(install(chosen).exitCode, 0u) << log();
        // The second user's registry as their own logon leaves it: the logon program run with their
        // folder, its registry saved as their profile's NTUSER.DAT.
        freshFolder(profileFolder + "\\AppData\\Roaming");
        forgetUser();
        regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);
        char appData[MAX_PATH] = {};
        GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
        SetEnvironmentVariableA("APPDATA", (profileFolder + "\\AppData\\Roaming").c_str());
        EXPECT_EQ(runCommandLine(program).exitCode, 0u);
        SetEnvironmentVariableA("APPDATA", appData);
        ASSERT_TRUE(fileExists(settings));
        ASSERT_TRUE(
            saveUserRegistry({"SOFTWARE\\Autodesk", "SOFTWARE\\Torlen"}, profileFolder + "\\NTUSER.DAT"));
        regSetString(HKEY_LOCAL_MACHINE, kProfileList + "\\" + sid, "ProfileImagePath", profileFolder,
                     REG_EXPAND_SZ);
        if (loadedByWindows) {
            ASSERT_TRUE(loadUserRegistry(sid, profileFolder + "\\NTUSER.DAT"));
        }
        // The current user's part, by the same step.
        forgetUser();
        regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);
        EXPECT_EQ(runCommandLine(program).exitCode, 0u);

        ASSERT_EQ(run(L"uninstall" + kLogOption).exitCode, 0u) << log();
        EXPECT_TRUE(contains(log(), L"用户的注册表  HKEY_USERS\\" + wide(sid))) << log();
        EXPECT_TRUE(contains(
            log(), L"已删除或恢复  HKEY_USERS\\" + wide(sid) + L"\\" + wide(kProfile) + L"\\TRUSTEDPATHS"))
            << log();
        EXPECT_FALSE(fileExists(settings));
        EXPECT_FALSE(isFolder(profileFolder + "\\AppData\\Roaming\\Torlen"));
        EXPECT_EQ(trustedPaths(), kOthersTrusted);
        EXPECT_FALSE(isFolder(appDataTorlen()));
        if (loadedByWindows) {
            EXPECT_EQ(trustedPaths(HKEY_USERS, sid + "\\"), kOthersTrusted);
            EXPECT_FALSE(regKeyExists(HKEY_USERS, sid + "\\SOFTWARE\\Torlen"));
            EXPECT_TRUE(unloadUserRegistry(sid));
        }
        // Nothing is left loaded.
        const std::vector<std::string> loaded = regSubKeyNames(HKEY_USERS, "");
        EXPECT_TRUE(std::none_of(loaded.begin(), loaded.end(), [&](const std::string& name) {
            return name.find(sid) != std::string::npos;
        }));
        regDeleteTree(HKEY_LOCAL_MACHINE, kProfileList + "\\" + sid);
        removeTree(profileFolder);
        regDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
        EXPECT_EQ(state(), before_);
    }
}

// A user whose part cannot all be taken away (their settings file held open, their registry file
// unreadable) has it taken away at their next logon: uninstall ends with 0, leaving the logon
// step registered once more; the next uninstall, reaching everyone, takes the rest away.
TEST_F(AllUsersTest, APartUninstallCannotReachIsTakenAwayAtTheUsersNextLogon) {
    const std::wstring chosen = spacedFolder();
    const std::string target = spacedTarget();
    const std::wstring program = L"\"" + wide(target) + L"\\TorlenUserSetup.exe\"";
    const std::string unreadable = "S-1-5-21-1004336348-1177238915-682003330-1235";
    const struct {
        const char* what;
        bool holdSettings;
        std::wstring logged;
    } cases[] = {{"settings file held open", true, L"该用户的部分未能全部删除，将在其下次登录时删除"},
                 {"a registry file that is none", false, L"无法打开该用户的注册表，将在其下次登录时删除"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);
        ASSERT_EQ(install(chosen).exitCode, 0u) << log();
        const std::string settings = appDataTorlen() + "\\Torlen.Ini";
        ASSERT_TRUE(fileExists(settings));
        const std::string version = readRegString(HKEY_LOCAL_MACHINE, componentKey(), "Version");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.holdSettings) {
            held = CreateFileA(settings.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        } else {
            writeFile(freshFolder("C:\\users\\e2e-unreadable") + "\\NTUSER.DAT", "not a registry");
            regSetString(HKEY_LOCAL_MACHINE, kProfileList + "\\" + unreadable, "ProfileImagePath",
                         "C:\\users\\e2e-unreadable", REG_EXPAND_SZ);
        }
        ASSERT_EQ(run(L"uninstall" + kLogOption).exitCode, 0u) << log();
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_TRUE(contains(log(), c.logged)) << log();
        EXPECT_EQ(trustedPaths(), kOthersTrusted);
        EXPECT_EQ(run(L"status").exitCode, 1u);
        EXPECT_TRUE(fileExists(target + "\\TorlenUserSetup.exe"));
        EXPECT_FALSE(fileExists(target + "\\TL_DodudEdiv2013.ARX"));
        EXPECT_NE(readRegString(HKEY_LOCAL_MACHINE, componentKey(), "Version"), version);

        // At the next logon the step runs once more, and takes what is left of the user's away.
        EXPECT_EQ(playLogon(componentKey()), std::vector<std::wstring>{program}) << log();
        EXPECT_FALSE(isFolder(appDataTorlen()));
        EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Torlen"));
        EXPECT_EQ(runValue(), L"<missing>");

        regDeleteTree(HKEY_LOCAL_MACHINE, kProfileList + "\\" + unreadable);
        removeTree("C:\\users\\e2e-unreadable");
        ASSERT_EQ(run(L"uninstall" + kLogOption).exitCode, 0u) << log();
        EXPECT_FALSE(isFolder(target)) << log();
        EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, componentKey()));
        regDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
        EXPECT_EQ(state(), before_);
    }
}

// An installation after an uninstallation that left a user for their next logon ends what was left
// waiting: at that logon the folder is trusted, not taken away again.
TEST_F(AllUsersTest, InstallingAgainEndsWhatAPartUninstallLeftForTheNextLogon) {
    regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);
    ASSERT_EQ(install(spacedFolder()).exitCode, 0u) << log();
    const std::string settings = appDataTorlen() + "\\Torlen.Ini";
    HANDLE held =
        CreateFileA(settings.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(run(L"uninstall" + kLogOption).exitCode, 0u) << log();
    CloseHandle(held);
    ASSERT_TRUE(contains(log(), L"该用户的部分未能全部删除，将在其下次登录时删除")) << log();
    ASSERT_EQ(install(spacedFolder()).exitCode, 0u) << log();
    playLogon(componentKey());
    EXPECT_EQ(trustedPaths(), kOthersTrusted + L";" + asTrusted(wide(spacedTarget())));
    EXPECT_TRUE(fileExists(settings));
    ASSERT_EQ(run(L"uninstall" + kLogOption).exitCode, 0u) << log();
    regDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
    EXPECT_EQ(state(), before_);
}

// The installing account's own folder cannot fail an installation for every user (SYSTEM's may be
// missing): its part is left to its next logon. An installation for this account alone still
// needs it.
TEST_F(AllUsersTest, TheInstallingAccountsFolderCannotFailAnInstallationForEveryUser) {
    const struct {
        std::wstring options;
        DWORD exitCode;
        std::wstring logged;
    } cases[] = {{L" --all-users", 0,
                  L"当前用户的受信任位置或设置文件尚未完成（尚无 AutoCAD 配置，或有失败），下次登录时再做"},
                 {L"", 1603, L"未能创建文件夹，安装中止  C:\\e2e\\appdata-is-a-file\\Torlen"}};
    char appData[MAX_PATH] = {};
    GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
    writeFile("C:\\e2e\\appdata-is-a-file", "a file where the account's folder should be");
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.options));
        SetEnvironmentVariableA("APPDATA", "C:\\e2e\\appdata-is-a-file");
        const CommandRun installed =
            run(L"install --folder \"" + spacedFolder() + L"\"" + c.options + kLogOption);
        SetEnvironmentVariableA("APPDATA", appData);
        EXPECT_EQ(installed.exitCode, c.exitCode) << log();
        EXPECT_TRUE(contains(log(), c.logged)) << log();
        EXPECT_EQ(run(L"uninstall" + kLogOption).exitCode, 0u) << log();
        EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Torlen")) << log();
        EXPECT_EQ(state(), before_);
    }
    DeleteFileA("C:\\e2e\\appdata-is-a-file");
}

// The log is never written through a link: a second hard link in the log's place is refused (87),
// and the file it leads to stays as it was. (Symbolic links and junctions: Wine 8 makes none, see
// the README.)
TEST_F(AllUsersTest, TheLogIsNeverWrittenThroughALink) {
    const std::string precious = "C:\\e2e\\precious.txt";
    const std::string link = "C:\\e2e\\link.log";
    const struct {
        const char* what;
        bool (*make)(const std::string& link, const std::string& target);
        DWORD exitCode;
    } cases[] = {
        {"hard link",
         [](const std::string& l, const std::string& t) {
             return CreateHardLinkA(l.c_str(), t.c_str(), nullptr) != 0;
         },
         87},
        {"ordinary file",
         [](const std::string& l, const std::string&) { return writeFile(l, "old log"), true; }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(precious, "nobody's log");
        DeleteFileA(link.c_str());
        ASSERT_TRUE(c.make(link, precious));
        EXPECT_EQ(run(L"uninstall --log C:\\e2e\\link.log").exitCode, c.exitCode);
        std::string contents;
        EXPECT_TRUE(readFile(precious, contents));
        EXPECT_EQ(contents, "nobody's log");
        EXPECT_EQ(readUtf8File(link).find(L"卸载开始") != std::wstring::npos, c.exitCode == 0);
        DeleteFileA(link.c_str());
    }
    DeleteFileA(precious.c_str());
}
