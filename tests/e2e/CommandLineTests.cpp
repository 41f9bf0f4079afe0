// End to end: SetUpCmd.exe, the unattended installer, on the real registry and files. A whole
// install, status and uninstall cycle leaves the machine as it was; every refusal gives its
// exit code and a log line and leaves nothing that status would call installed.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "Driver.h"
#include "deploy/InstallFolders.h"
#include "framework/Files.h"
#include "framework/WideText.h"
#include "res/resource.h"

using namespace e2e;

namespace {

const std::string kSource = "C:\\e2e\\cmd";
const std::string kAcadRoot = "C:\\e2e\\acad";
const std::string kChosen = "C:\\e2e\\target";
const std::string kLog = "C:\\e2e\\cmd.log";
const std::wstring kInstall = L"install --folder C:\\e2e\\target --log C:\\e2e\\cmd.log";
const std::string kProfile =
    "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804\\Profiles\\Default\\Variables";
// Another program's trusted folders, in scripts the system code page cannot hold.
const std::wstring kOthersTrusted = L"c:\\lib;D:\\도면\\😀;E:\\共享\\...";

const std::vector<std::string> kDataFiles = {"TL_DodudEdiv2008.ARX", "TL_DodudEdiv2013.ARX", "ACAD2007P.dll",
                                             "ACAD2013P.dll",        "itextsharp.dll",       "Torlen_EN.shx",
                                             "Torlen_HZ.shx",        "Torlen.Ini",           "Torlen.prt5"};

std::string appDataTorlen() {
    char appData[MAX_PATH] = {};
    GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
    return std::string(appData) + "\\Torlen";
}

// Where this edition keeps a machine-wide key: a 32-bit program's HKLM\SOFTWARE is
// Wow6432Node's on 64-bit Windows.
std::string editionKey(const std::string& belowSoftware) {
    return std::string(isWow64Process() ? "SOFTWARE\\Wow6432Node\\" : "SOFTWARE\\") + belowSoftware;
}
std::string activeSetupKey() {
    return editionKey("Microsoft\\Active Setup\\Installed Components\\TorlenBatchPrint");
}
// The entry in Programs and Features: where Windows lists programs of the edition's width.
std::string programsEntryKey() {
    return editionKey("Microsoft\\Windows\\CurrentVersion\\Uninstall\\TorlenBatchPrint");
}

bool contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// A machine with AutoCAD 2008 (32-bit, whose own plot driver the installation keeps) and an
// AutoCAD 2014 of the edition's width beside another program's demand-load key, a shared
// library already in both AutoCAD folders, a profile that trusts other folders, one that
// trusts none, and a chosen folder that holds a user's file.
class CommandLineTest : public ::testing::Test {
   protected:
    void SetUp() override {
        clearAutodeskKeys();
        regDeleteTree(HKEY_LOCAL_MACHINE, activeSetupKey());
        for (const std::string& path : {kChosen, kAcadRoot, appDataTorlen()}) removeTree(path);
        DeleteFileA(kLog.c_str());
        source_ = prepareInstallSource(kSource, kDataFiles);
        acad2008_ = addAcad(2008, 32, kAcadRoot);
        acad2014_ = addEditionAcad(2014, kAcadRoot);
        writeFile(freshFolder(acad2008_.folder + "\\Drv") + "\\pdfplot9.hdi", "AutoCAD's own plot driver");
        for (const Installation& acad : {acad2008_, acad2014_})
            writeFile(acad.folder + "\\itextsharp.dll", "contents of itextsharp.dll");
        regSetString(HKEY_LOCAL_MACHINE, acad2014_.keyPath + "Applications\\OtherPlugin", "LOADER",
                     "D:\\Other\\other.arx");
        regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);
        addProfile("R17.1", "ACAD-6001:804", "Plot", nullptr);
        writeFile(freshFolder(kChosen) + "\\notes.txt", "the user's own");
    }
    void TearDown() override { clearAutodeskKeys(); }

    CommandRun run(const std::wstring& arguments) const { return runCommand(source_.cmd, arguments); }
    static std::string state() { return machineExport({kAcadRoot, kChosen}); }
    static std::wstring log() { return readUtf8File(kLog); }
    static std::wstring trustedPaths() {
        std::wstring text;
        DWORD type = REG_NONE;
        regReadWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", text, type);
        return text;
    }

    InstallSource source_;
    Installation acad2008_, acad2014_;
};

}  // namespace

TEST_F(CommandLineTest, InstallStatusAndUninstallLeaveTheMachineAsItWas) {
    const std::string before = state();
    ASSERT_EQ(run(kInstall + L" --all-users").exitCode, 0u) << log();
    EXPECT_TRUE(contains(log(), L"安装完成  C:\\e2e\\target\\T-DodudEdiv"));
    const std::string installed = state();
    ASSERT_EQ(run(kInstall + L" --all-users").exitCode, 0u) << log();
    EXPECT_EQ(state(), installed) << "a second installation changed the first";
    std::wstring entry;
    DWORD entryType = REG_NONE;
    EXPECT_TRUE(regReadWide(HKEY_LOCAL_MACHINE, programsEntryKey(), "DisplayName", entry, entryType));
    EXPECT_EQ(entry, L"T-批打印软件");
    EXPECT_TRUE(
        regReadWide(HKEY_LOCAL_MACHINE, programsEntryKey(), "QuietUninstallString", entry, entryType));
    EXPECT_EQ(entry, L"\"C:\\e2e\\target\\T-DodudEdiv\\SetUpCmd.exe\" uninstall");
    EXPECT_EQ(trustedPaths(), kOthersTrusted + L";C:\\E2E\\TARGET\\T-DODUDEDIV");
    std::string kept;
    EXPECT_TRUE(readFile(acad2008_.folder + "\\Drv\\pdfplot9.hdi.original", kept));
    EXPECT_EQ(kept, "AutoCAD's own plot driver");
    CommandRun status = run(L"status --json");
    EXPECT_EQ(status.exitCode, 0u) << status.out;
    EXPECT_TRUE(
        contains(status.out, L"{\"edition\":" + std::to_wstring(platformBits) + L",\"complete\":true,"));
    EXPECT_TRUE(contains(run(L"list --json").out, L"\"year\":2008,\"productName\":\"AutoCAD 2008\""));

    // What Windows runs at a user's next logon, for a user who has neither the trusted folder
    // nor the settings file yet.
    std::wstring stub;
    DWORD type = REG_NONE;
    ASSERT_TRUE(regReadWide(HKEY_LOCAL_MACHINE, activeSetupKey(), "StubPath", stub, type));
    regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted);
    removeTree(appDataTorlen());
    ASSERT_EQ(stub, L"\"C:\\e2e\\target\\T-DodudEdiv\\TorlenUserSetup.exe\"");
    EXPECT_EQ(runCommandLine(stub).exitCode, 0u);
    EXPECT_EQ(trustedPaths(), kOthersTrusted + L";C:\\E2E\\TARGET\\T-DODUDEDIV");
    EXPECT_TRUE(fileExists(appDataTorlen() + "\\Torlen.Ini"));

    ASSERT_EQ(run(L"uninstall --purge --log C:\\e2e\\cmd.log").exitCode, 0u) << log();
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(isFolder(appDataTorlen()));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, activeSetupKey()));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, programsEntryKey()));
    EXPECT_EQ(run(L"uninstall").exitCode, 0u);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(run(L"status").exitCode, 1u);
}

TEST_F(CommandLineTest, TheDialogInstallsAndTheCommandLineUninstalls) {
    const std::string before = state();
    SetupProcess setup(source_.exe);
    ASSERT_TRUE(setup.dialogFound());
    // One installation at a time: nothing while the dialog is open.
    EXPECT_EQ(run(L"uninstall --log C:\\e2e\\cmd.log").exitCode, 1618u);
    EXPECT_TRUE(contains(log(), L"另一个安装程序（SetUp.exe 或 SetUpCmd.exe）正在运行"));
    setup.setText(IDC_INSTALL_PATH, L"C:\\e2e\\target");
    setup.click(IDC_INSTALL);
    ASSERT_TRUE(setup.waitForFinishPage());
    setup.click(IDOK);
    ASSERT_TRUE(setup.waitForExit(5000));
    EXPECT_EQ(run(L"status").exitCode, 0u);
    EXPECT_EQ(run(L"uninstall").exitCode, 0u);
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(isFolder(kChosen + "\\T-DodudEdiv"));
}

TEST_F(CommandLineTest, RefusalsGiveTheirExitCodeAndLogLineAndInstallNothing) {
    const std::string before = state();
    const std::string heldFile = kChosen + "\\T-DodudEdiv\\TL_DodudEdiv2013.ARX";
    const struct {
        const char* what;
        std::wstring arguments;
        DWORD exitCode;
        std::wstring logged;  // in the log, or on standard error
        bool acadRuns = false;
        bool holdFile = false;
        enum { None, AcadFolder, ProductKey } readOnly = None;  // as for a user who is no administrator
    } cases[] = {
        {"unknown option", kInstall + L" --bogus", 87, L"unknown option \"--bogus\" for install"},
        {"relative folder", L"install --folder e2e\\target --log C:\\e2e\\cmd.log", 87, L"安装路径无效"},
        {"release not served or not found", kInstall + L" --releases 2018", platformBits == 32 ? 87u : 1603u,
         L"AutoCAD 2018"},
        {"missing data folder", kInstall + L" --data C:\\e2e\\nowhere", 1603,
         L"未找到安装所需的 Data 文件夹  C:\\e2e\\nowhere"},
        {"AutoCAD running", kInstall, 170, L"AutoCAD 正在运行", true},
        {"locked file", kInstall, 1603,
         L"文件被占用，稍后重试  " + std::wstring(heldFile.begin(), heldFile.end()), false, true},
        {"AutoCAD folder not writable", kInstall, 740,
         L"权限不足，请以管理员身份运行；未做任何更改  C:\\e2e\\acad", false, false, cases->AcadFolder},
        {"product key not writable", kInstall, 740,
         L"权限不足，请以管理员身份运行；未做任何更改  HKEY_LOCAL_MACHINE", false, false, cases->ProductKey},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<RunningProgram> acad;
        if (c.acadRuns) acad.emplace("acad.exe");
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.holdFile) {
            writeFile(freshFolder(kChosen + "\\T-DodudEdiv") + "\\TL_DodudEdiv2013.ARX", "held by AutoCAD");
            holder = CreateFileA(heldFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        }
        auto readOnly = [&](bool on) {
            if (c.readOnly == c.None) return true;
            return setWritable(
                acad2014_,
                c.readOnly == c.AcadFolder ? InstallationPart::Folder : InstallationPart::ProductKey, !on);
        };
        ASSERT_TRUE(readOnly(true));
        CommandRun refused = run(c.arguments);
        readOnly(false);
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        EXPECT_EQ(refused.exitCode, c.exitCode);
        EXPECT_TRUE(contains(log() + refused.err, c.logged)) << testing::PrintToString(log() + refused.err);
        EXPECT_EQ(run(L"status").exitCode, 1u);
        if (!c.holdFile) {
            EXPECT_EQ(state(), before);
        }
        removeTree(kChosen + "\\T-DodudEdiv");
    }
    // Told to go on without a file it cannot copy, the installation finishes and says so.
    writeFile(freshFolder(kChosen + "\\T-DodudEdiv") + "\\TL_DodudEdiv2013.ARX", "held by AutoCAD");
    HANDLE holder = CreateFileA(heldFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(run(kInstall + L" --on-copy-failure ignore").exitCode, 2u);
    CloseHandle(holder);
    EXPECT_TRUE(
        contains(log(), L"未能复制文件（已跳过）  " + std::wstring(heldFile.begin(), heldFile.end())));
}

// Without a record (an installation by an earlier build), a key named like the plug-in's whose
// module lies in a folder that cannot be the plug-in's names someone else's folder: uninstall
// leaves the key, the folder, what it holds and its trusted entry, and says so.
TEST_F(CommandLineTest, UninstallWithoutARecordLeavesOtherProgramsFolders) {
    const struct {
        const char* folder;  // where the key's module is
        std::vector<std::string> files;
        std::vector<std::string> exported;  // the folders compared whole
    } cases[] = {{"C:\\CAD\\Plugins",
                  {"itextsharp.dll", "TorlenMenu.cuix", "TL_DodudEdiv2013.ARX"},
                  {kAcadRoot, kChosen, "C:\\CAD"}},
                 {"C:", {"TL_DodudEdiv2013.ARX"}, {kAcadRoot, kChosen}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string key = acad2014_.keyPath + "Applications\\TL_DodudEdiv2014";
        if (std::strlen(c.folder) > 2) freshFolder(c.folder);  // a folder below the drive root
        regSetString(HKEY_LOCAL_MACHINE, key, "LOADER", std::string(c.folder) + "\\TL_DodudEdiv2013.ARX");
        for (const std::string& name : c.files)
            writeFile(std::string(c.folder) + "\\" + name, "another program's");
        const std::wstring wideFolder(c.folder, c.folder + std::strlen(c.folder));
        regSetWide(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", kOthersTrusted + L";" + wideFolder);
        const std::string before = machineExport(c.exported);

        EXPECT_EQ(run(L"uninstall --log C:\\e2e\\cmd.log").exitCode, 0u) << log();
        EXPECT_EQ(machineExport(c.exported), before);
        for (const std::string& name : c.files)
            EXPECT_TRUE(fileExists(std::string(c.folder) + "\\" + name)) << name;
        EXPECT_TRUE(contains(log(), L"注册表项指向的目录不是本插件的目录，未改动")) << log();
        for (const std::string& name : c.files) DeleteFileA((std::string(c.folder) + "\\" + name).c_str());
    }
    removeTree("C:\\CAD");
}

// Another program's itextsharp.dll in an AutoCAD folder: a newer one is left as it is; an older
// one is replaced, kept, and put back by uninstall, which leaves the folder byte for byte as it
// was.
TEST_F(CommandLineTest, ASharedLibraryIsReplacedOnlyByAHigherVersionAndComesBack) {
    const std::string shared = acad2014_.folder + "\\itextsharp.dll";
    const struct {
        const char* theirs;
        const char* ours;
        bool replaced;
    } cases[] = {{"library_5_5_13.dll", "library_5_5_10.dll", false},
                 {"library_5_5_10.dll", "library_5_5_13.dll", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.theirs);
        ASSERT_TRUE(CopyFileA((builtFolder() + "\\" + c.theirs).c_str(), shared.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((builtFolder() + "\\" + c.ours).c_str(),
                              (kSource + "\\Data\\itextsharp.dll").c_str(), FALSE));
        std::string theirs, ours, found;
        readFile(shared, theirs);
        readFile(kSource + "\\Data\\itextsharp.dll", ours);
        const std::string before = state();

        ASSERT_EQ(run(kInstall).exitCode, 0u) << log();
        ASSERT_TRUE(readFile(shared, found));
        EXPECT_EQ(found == ours, c.replaced);
        EXPECT_EQ(fileExists(shared + ".original"), c.replaced);
        ASSERT_EQ(run(L"uninstall --log C:\\e2e\\cmd.log").exitCode, 0u) << log();
        ASSERT_TRUE(readFile(shared, found));
        EXPECT_EQ(found, theirs);
        EXPECT_EQ(state(), before);
    }
}

// The chosen folder that exists and that others may change (here: everyone may do anything)
// is not used silently: refused with its own exit code and nothing changed, or protected on
// request.
TEST_F(CommandLineTest, AChosenFolderOthersMayChangeIsRefusedOrProtected) {
    ASSERT_TRUE(setFolderSecurity(kChosen, "D:P(A;OICI;FA;;;WD)"));
    ASSERT_TRUE(othersMayChange(kChosen));
    const std::string before = state();
    EXPECT_EQ(run(kInstall).exitCode, 4u);
    EXPECT_TRUE(contains(log(), L"安装路径不能设为只有管理员可以更改")) << "it holds the user's notes";
    EXPECT_EQ(run(kInstall + L" --protect-folder").exitCode, 4u);
    EXPECT_EQ(state(), before);
    DeleteFileA((kChosen + "\\notes.txt").c_str());
    EXPECT_EQ(run(kInstall).exitCode, 4u);
    EXPECT_TRUE(contains(log(), L"--protect-folder")) << log();
    EXPECT_EQ(run(kInstall + L" --protect-folder").exitCode, 0u) << log();
    EXPECT_FALSE(othersMayChange(kChosen));
    EXPECT_FALSE(othersMayChange(kChosen + "\\T-DodudEdiv"));
    EXPECT_EQ(run(L"uninstall").exitCode, 0u);
}

// An administrator's run acts only on what the installation owns. Each hostile input a standard
// user can make (their own record planted with items of every kind, a hard link in the plug-in's
// folder, a profile or a drive root given with --protect-folder, a folder above the chosen one
// that others may change) leaves everything outside the installation as it was, and the refusal
// is logged. (Junctions and symbolic links: Wine 8 makes none; their refusal is a pure rule.)
TEST_F(CommandLineTest, HostileInputsChangeNothingOutsideWhatTheInstallationOwns) {
    const std::string other = freshFolder("C:\\e2e\\other"), target = kChosen + "\\T-DodudEdiv";
    writeFile(other + "\\precious.dll", "another program's library");
    writeFile(other + "\\moved.txt", "stays where it is");
    CreateDirectoryA((other + "\\empty").c_str(), nullptr);
    writeFile(freshFolder(other + "\\Torlen") + "\\Torlen.Ini", "in no profile");
    const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    regSetString(HKEY_CURRENT_USER, run, "OtherProgram", "other.exe");
    auto outside = [&] {
        return machineExport({other}) + securityOf(other + "\\precious.dll") + securityOf("C:\\") +
               readRegString(HKEY_CURRENT_USER, run, "OtherProgram");
    };
    const std::string untouched = outside();

    // The user's own record, with items of every kind appended to what the installation put there.
    ASSERT_EQ(this->run(kInstall).exitCode, 0u) << log();
    const std::string record = "SOFTWARE\\Torlen\\BatchPrint\\UserSetup" + std::to_string(platformBits);
    std::string list = readRegString(HKEY_CURRENT_USER, record, "ItemsKey");
    list = record + "\\" + (list.empty() ? "Items" : list) + "\\";
    const struct {
        const char* kind;
        std::string path, detail, extra;
    } planted[] = {
        {"file", other + "\\precious.dll", digestOf(other + "\\precious.dll").text, ""},
        {"kept", other + "\\moved.txt", other + "\\elsewhere.txt", ""},
        {"key", "SOFTWARE", "Microsoft", ""},
        {"folder", other + "\\empty", "", ""},
        {"value", run, "OtherProgram", ""},
        {"trusted", "SOFTWARE\\Victim\\Variables", target, ""},
        {"file", other + "\\Torlen\\Torlen.Ini", digestOf(other + "\\Torlen\\Torlen.Ini").text, ""},
        {"filebackup", other + "\\moved.txt", "", other + "\\precious.dll"},
    };
    auto plant = [&](const std::string& list, std::size_t number) {
        for (const auto& item : planted) {
            char name[8];
            std::snprintf(name, sizeof name, "%05u", static_cast<unsigned>(++number));
            regSetString(HKEY_CURRENT_USER, list + name, "Kind", item.kind);
            regSetString(HKEY_CURRENT_USER, list + name, "Path", item.path);
            regSetString(HKEY_CURRENT_USER, list + name, "Detail", item.detail);
            regSetString(HKEY_CURRENT_USER, list + name, "Extra", item.extra);
        }
    };
    auto refusalsLogged = [&] {
        const std::wstring said = log();
        std::size_t refusals = 0;
        for (std::size_t at = said.find(L"不属于该用户的注册表或配置文件夹"); at != std::wstring::npos;
             at = said.find(L"不属于该用户的注册表或配置文件夹", at + 1))
            ++refusals;
        return refusals;
    };
    plant(list, regSubKeyNames(HKEY_CURRENT_USER, list).size());
    ASSERT_EQ(this->run(L"uninstall --purge --log C:\\e2e\\cmd.log").exitCode, 0u) << log();
    EXPECT_EQ(outside(), untouched);
    // A backup is no item of an installation: it is passed over, not refused.
    EXPECT_EQ(refusalsLogged(), std::size(planted) - 1) << log();

    // The same as a run of the user's that was cut off: the next installation undoes it only as
    // far as it is the user's own.
    regSetString(HKEY_CURRENT_USER, record, "RunKey", "Items2");
    regSetDword(HKEY_CURRENT_USER, record, "RunState", 1);
    plant(record + "\\Items2\\", 0);
    ASSERT_EQ(this->run(kInstall).exitCode, 0u) << log();
    EXPECT_EQ(refusalsLogged(), std::size(planted)) << log();  // what is outside: below, once uninstalled

    // A hard link in the plug-in's folder to a file outside: an upgrade that protects the folder
    // removes the link, and neither deletes nor re-permissions the file.
    ASSERT_TRUE(
        CreateHardLinkA((target + "\\link.dll").c_str(), (other + "\\precious.dll").c_str(), nullptr));
    ASSERT_EQ(this->run(kInstall + L" --protect-folder").exitCode, 0u) << log();
    EXPECT_FALSE(fileExists(target + "\\link.dll"));
    ASSERT_EQ(this->run(L"uninstall").exitCode, 0u) << log();
    EXPECT_EQ(outside(), untouched);

    // Another user's profile, and a folder above the chosen one, that others may change; a drive
    // root: nothing is protected that is not the installation's, nothing is made.
    const std::string profile = freshFolder("C:\\users\\e2e-bob"), open = freshFolder("C:\\e2e\\open");
    const std::string profileList =
        "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-9-9-9-1001";
    regSetString(HKEY_LOCAL_MACHINE, profileList, "ProfileImagePath", profile, REG_EXPAND_SZ);
    for (const std::string& folder : {profile, open})
        ASSERT_TRUE(setFolderSecurity(folder, "D:P(A;OICI;FA;;;WD)"));
    const std::string profileRights = securityOf(profile);
    const struct {
        std::wstring folder;
        DWORD exitCode;
        std::wstring logged;
    } typed[] = {
        {L"C:\\users\\e2e-bob", 4, L"安装路径不能设为只有管理员可以更改"},
        {L"C:\\e2e\\open\\chosen", 4,
         L"安装路径上的这个文件夹，管理员以外的用户可以重命名、删除或更改它；未做任何更改  C:\\e2e\\open"},
        {L"C:\\", 0, L"安装完成  C:\\T-DodudEdiv"},
    };
    for (const auto& c : typed) {
        SCOPED_TRACE(utf8(c.folder));
        EXPECT_EQ(
            this->run(L"install --folder " + c.folder + L" --protect-folder --log C:\\e2e\\cmd.log").exitCode,
            c.exitCode);
        EXPECT_TRUE(contains(log(), c.logged)) << log();
        EXPECT_EQ(this->run(L"uninstall").exitCode, 0u);
    }
    EXPECT_EQ(securityOf(profile), profileRights);
    EXPECT_TRUE(folderEntries(profile).empty());
    EXPECT_TRUE(folderEntries(open).empty());
    EXPECT_EQ(outside(), untouched);
    regDeleteTree(HKEY_LOCAL_MACHINE, profileList);
    regDeleteValue(HKEY_CURRENT_USER, run, "OtherProgram");
    for (const std::string& folder : {profile, open, other}) removeTree(folder);
}

// An upgrade while AutoCAD holds a module of the installed plug-in stops before it changes
// anything: the installation that was there stays whole, and status tells which build it is.
TEST_F(CommandLineTest, AHeldModuleStopsAnUpgradeBeforeAnythingChanges) {
    ASSERT_EQ(run(kInstall).exitCode, 0u) << log();
    const std::string installed = state();
    const std::string module = kChosen + "\\T-DodudEdiv\\TL_DodudEdiv2013.ARX";
    HANDLE holder =
        CreateFileA(module.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(run(kInstall).exitCode, 1603u);
    CloseHandle(holder);
    EXPECT_TRUE(contains(log(), L"文件被占用，稍后重试  " + std::wstring(module.begin(), module.end())));
    EXPECT_EQ(state(), installed);
    const std::wstring build = std::to_wstring(buildVersion), next = std::to_wstring(buildVersion + 1);
    EXPECT_EQ(run(L"status").exitCode, 0u);
    EXPECT_EQ(run(L"status --min-version " + build).exitCode, 0u);
    EXPECT_EQ(run(L"status --min-version " + next).exitCode, 1u);
    EXPECT_TRUE(contains(run(L"status --json").out, L"\"installedBuild\":" + build));
    EXPECT_EQ(run(L"uninstall").exitCode, 0u);
    // Run from where it was shipped, not from the plug-in's folder, the installer stays.
    EXPECT_FALSE(waitUntilRemoved(source_.cmd, 3000));
}

// The uninstall command of the Programs and Features entry: SetUp.exe in the plug-in's folder
// asks, a copy of it outside the folder uninstalls and tells, and the machine is as it was.
TEST_F(CommandLineTest, ProgramsAndFeaturesUninstallsThroughAWindowThatAsks) {
    const std::string before = state();
    ASSERT_EQ(run(kInstall).exitCode, 0u) << log();
    std::wstring command;
    DWORD type = REG_NONE;
    ASSERT_TRUE(regReadWide(HKEY_LOCAL_MACHINE, programsEntryKey(), "UninstallString", command, type));
    ASSERT_EQ(command, L"\"C:\\e2e\\target\\T-DodudEdiv\\SetUp.exe\" /uninstall");
    UninstallDialogue dialogue = uninstallThroughEntry(command);
    EXPECT_TRUE(contains(dialogue.question, L"确定要卸载批打印软件吗？"));
    EXPECT_EQ(dialogue.result, L"批打印软件已卸载。");
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, programsEntryKey()));
    // The elevated instance ran from the plug-in's folder: a copy removes it once it has ended.
    EXPECT_TRUE(waitUntilRemoved(kChosen + "\\T-DodudEdiv", 10000));
    EXPECT_EQ(state(), before);
}
