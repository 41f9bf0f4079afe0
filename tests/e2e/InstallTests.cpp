// End to end: the whole installation from the Install button, its warnings and failures,
// and the Browse button, on the real SetUp.exe.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "Driver.h"
#include "deploy/InstallFolders.h"
#include "framework/BuildConstants.h"
#include "framework/WideText.h"
#include "res/resource.h"

using namespace e2e;

namespace {

const std::string kSource = "C:\\e2e\\install";
const std::string kAcadRoot = "C:\\e2e\\acad";

const std::vector<std::string> kDataFiles = {"TL_DodudEdiv2009.ARX",
                                             "TL_DodudEdiv2010.ARX",
                                             "TL_DodudEdiv2013.ARX",
                                             "ACAD2009P.dll",
                                             "ACAD2010P.dll",
                                             "ACAD2013P.dll",
                                             "itextsharp.dll",
                                             "Torlen_EN.shx",
                                             "Torlen_HZ.shx",
                                             "Torlen.prt5",
                                             "Torlen.Ini"};

std::string env(const char* name) {
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA(name, value, MAX_PATH);
    return value;
}

class InstallTest : public ::testing::Test {
   protected:
    void SetUp() override {
        clearAutodeskKeys();
        removeTree("C:\\e2e\\target");
        removeTree(kAcadRoot);
        removeTree(env("APPDATA") + "\\Torlen");
        source_ = prepareInstallSource(kSource, kDataFiles);
    }
    void TearDown() override {
        for (const auto& taken : takenAway_) setWritable(taken.first, taken.second, true);
        clearAutodeskKeys();
    }

    // Takes a right away (see setWritable) until the test ends, when TearDown gives it back.
    void takeAway(const Installation& acad, InstallationPart part) {
        ASSERT_TRUE(setWritable(acad, part, false));
        takenAway_.emplace_back(acad, part);
    }

    // What an installation changes, in the AutoCAD folders and the target folder.
    static std::string state() { return machineExport({kAcadRoot, "C:\\e2e\\target"}); }

    // An AutoCAD of the width this edition serves (32-bit ones below Wow6432Node on 64-bit
    // Windows), or of the width given.
    static Installation install(int year, int bits = platformBits) { return addAcad(year, bits, kAcadRoot); }

    // Starts the installer, types the path and clicks Install.
    void startInstall(SetupProcess& setup, const wchar_t* path) {
        ASSERT_TRUE(setup.dialogFound());
        setup.setText(IDC_INSTALL_PATH, path);
        setup.click(IDC_INSTALL);
    }

    InstallSource source_;
    std::vector<std::pair<Installation, InstallationPart>> takenAway_;
};

void expectDemandLoadKeys(const Installation& at, const std::string& target, int moduleYear,
                          int libraryYear) {
    std::string apps = at.keyPath + "Applications\\";
    std::string module = apps + "TL_DodudEdiv" + std::to_string(at.year);
    std::string library = apps + "Torlen" + std::to_string(at.year) + "DLLP";
    EXPECT_EQ(readRegDword(HKEY_LOCAL_MACHINE, module, "LOADCTRLS"), 2u);
    EXPECT_EQ(readRegString(HKEY_LOCAL_MACHINE, module, "LOADER"),
              target + "\\TL_DodudEdiv" + std::to_string(moduleYear) + ".ARX");
    EXPECT_EQ(readRegDword(HKEY_LOCAL_MACHINE, library, "LOADCTRLS"), 2u);
    EXPECT_EQ(readRegString(HKEY_LOCAL_MACHINE, library, "LOADER"),
              at.folder + "\\ACAD" + std::to_string(libraryYear) + "P.dll");
    EXPECT_EQ(readRegDword(HKEY_LOCAL_MACHINE, library, "MANAGED"), 1u);
}

}  // namespace

// The machine users of both editions have: 32-bit AutoCAD 2009, 2010 and 2012 (below
// Wow6432Node on 64-bit Windows) and a 64-bit AutoCAD 2014. Each edition registers and
// copies into exactly the installations it finds, each once, and nothing else.
TEST_F(InstallTest, InstallsFilesKeysAndTrustedPathsThenShowsTheFinishPage) {
    const struct {
        Installation acad;
        int moduleYear;
        int libraryYear;
    } machine[] = {{install(2009, 32), 2009, 2009},
                   {install(2010, 32), 2010, 2010},
                   {install(2012, 32), 2010, 2010},
                   {install(2014, isWindows64() ? 64 : 32), 2013, 2013}};
    addProfile("R19.1", "ACAD-D001:804", "<<Unnamed Profile>>", "c:\\lib;d:\\tools");
    addProfile("R18.0", "ACAD-8001:804", "Plot", nullptr);

    SetupProcess setup(source_.exe);
    RECT before = {};
    ASSERT_TRUE(setup.dialogFound());
    before = setup.windowRect();
    startInstall(setup, L"C:\\e2e\\target");
    ASSERT_TRUE(setup.waitForFinishPage());  // no failure message on the way

    const std::string target = "C:\\e2e\\target\\T-DodudEdiv";
    for (const auto& installed : machine) {
        const Installation& at = installed.acad;
        SCOPED_TRACE(at.keyPath);
        if (!editionFinds(at)) {
            EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, at.keyPath + "Applications"));
            EXPECT_FALSE(fileExists(at.folder + "\\itextsharp.dll"));
            continue;
        }
        expectDemandLoadKeys(at, target, installed.moduleYear, installed.libraryYear);
        EXPECT_EQ(regKeyExists(HKEY_LOCAL_MACHINE, at.keyPath + "Applications\\TL_DodudEdiv2010_32"),
                  platformBits == 64 && at.year == 2010);
        EXPECT_TRUE(fileExists(at.folder + "\\Fonts\\Torlen_HZ.shx"));
        EXPECT_TRUE(fileExists(at.folder + "\\itextsharp.dll"));
        EXPECT_TRUE(fileExists(at.folder + "\\ACAD2013P.dll"));
    }
    EXPECT_EQ(
        readRegString(
            HKEY_CURRENT_USER,
            "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804\\Profiles\\<<Unnamed Profile>>\\Variables",
            "TRUSTEDPATHS"),
        "c:\\lib;d:\\tools;C:\\E2E\\TARGET\\T-DODUDEDIV");
    EXPECT_EQ(readRegString(HKEY_CURRENT_USER,
                            "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\Plot\\Variables",
                            "TRUSTEDPATHS"),
              target);

    for (const char* name : {"TL_DodudEdiv2010.ARX", "ACAD2013P.dll", "itextsharp.dll"})
        EXPECT_TRUE(fileExists(target + "\\" + name)) << name;
    for (const char* name : {"Torlen_EN.shx", "Torlen.prt5", "Torlen.Ini"})
        EXPECT_FALSE(fileExists(target + "\\" + name)) << name;
    // The installer itself, not the data folder's copy: Programs and Features runs it to uninstall.
    std::string installer, copied;
    ASSERT_TRUE(readFile(source_.exe, installer) && readFile(target + "\\SetUp.exe", copied));
    EXPECT_TRUE(installer == copied);
    const std::string entry = std::string(isWow64Process() ? "SOFTWARE\\Wow6432Node\\" : "SOFTWARE\\") +
                              "Microsoft\\Windows\\CurrentVersion\\Uninstall\\TorlenBatchPrint";
    EXPECT_EQ(readRegString(HKEY_LOCAL_MACHINE, entry, "UninstallString"),
              "\"" + target + "\\SetUp.exe\" /uninstall");
    EXPECT_EQ(readRegString(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"), "2026.01.01");
    EXPECT_EQ(readRegDword(HKEY_LOCAL_MACHINE, entry, "NoModify"), 1u);
    EXPECT_TRUE(fileExists(env("APPDATA") + "\\Torlen\\Torlen.Ini"));

    EXPECT_EQ(setup.progress(), 50);
    for (int id : {IDOK, IDC_FINISH_TEXT, IDC_FINISH_PICTURE}) EXPECT_TRUE(setup.visible(id)) << id;
    for (int id : {IDC_INSTALL, IDCANCEL, IDC_PROGRESS, IDC_COMPONENTS_LABEL, IDC_INSTALL_PATH, IDC_BROWSE})
        EXPECT_FALSE(setup.visible(id)) << id;
    for (int id : kReleaseBox) EXPECT_FALSE(setup.visible(id)) << id;
    RECT after = setup.windowRect();
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_LT(after.bottom, before.bottom);

    setup.click(IDOK);
    EXPECT_TRUE(setup.waitForExit(5000));
}

TEST_F(InstallTest, WarnsOnceWhileAutoCadRuns) {
    install(2010);
    for (const char* name : {"acad.exe", "ACAD.EXE", "oldacad.exe.bin"}) {
        SCOPED_TRACE(name);
        removeTree("C:\\e2e\\target");
        RunningProgram acad(name);
        {
            SetupProcess setup(source_.exe);
            startInstall(setup, L"C:\\e2e\\target");
            MessageBoxWindow warning = waitForMessageBox(setup.dialog());
            ASSERT_TRUE(warning);
            EXPECT_EQ(warning.caption, L"T-软件安装");
            EXPECT_EQ(warning.text, L"请关闭AutoCAD后再进行安装 !");
            warning.press(IDOK);
            setup.settle();
            EXPECT_FALSE(isFolder("C:\\e2e\\target"));
            EXPECT_TRUE(setup.visible(IDC_INSTALL_PATH));
            setup.click(IDC_INSTALL);
            EXPECT_TRUE(setup.waitForFinishPage());
        }
    }
}

// A copy into the target folder fails: Abort ends the program before any registration;
// Ignore goes on, and the last message says which file was left out, never that the files
// were copied, and names the log, where both runs are kept for whoever supports the user.
TEST_F(InstallTest, FailedCopyIntoTheTargetFolderIsAskedAbout) {
    Installation acad2010 = install(2010);
    const std::string blocked = "C:\\e2e\\target\\T-DodudEdiv\\TL_DodudEdiv2010.ARX";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string logFile = std::string(temp) + "TorlenSetup.log";
    DeleteFileA(logFile.c_str());
    for (int answer : {IDABORT, IDIGNORE}) {
        SCOPED_TRACE(answer == IDABORT ? "Abort" : "Ignore");
        clearAutodeskKeys();
        acad2010 = install(2010);
        removeTree("C:\\e2e\\target");
        freshFolder(blocked);  // a folder where a file must go makes that copy fail
        SetupProcess setup(source_.exe);
        startInstall(setup, L"C:\\e2e\\target");
        MessageBoxWindow failure = waitForMessageBox(setup.dialog());
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure.caption, L"T-软件安装");
        EXPECT_NE(failure.text.find(L"拷贝文件 C:\\e2e\\target\\T-DodudEdiv\\TL_DodudEdiv2010.ARX 失败"),
                  std::wstring::npos);
        failure.press(answer);
        if (answer == IDABORT) {
            ASSERT_TRUE(setup.waitForExit(5000));
            EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, acad2010.keyPath + "Applications"));
            EXPECT_FALSE(fileExists(acad2010.folder + "\\itextsharp.dll"));
            continue;
        }
        MessageBoxWindow report = waitForMessageBox(setup.dialog(), 20000);
        ASSERT_TRUE(report);
        EXPECT_EQ(report.text.find(L"文件已复制"), std::wstring::npos) << "a file was not copied";
        EXPECT_NE(report.text.find(L"有 1 个文件按您的选择被跳过"), std::wstring::npos);
        // A folder in the way refuses access: the advice is to run with more rights.
        EXPECT_NE(report.text.find(L"C:\\e2e\\target\\T-DodudEdiv\\TL_DodudEdiv2010.ARX（拒绝访问）"),
                  std::wstring::npos);
        EXPECT_NE(report.text.find(L"以管理员身份运行"), std::wstring::npos);
        EXPECT_NE(report.text.find(L"安装日志：" + std::wstring(logFile.begin(), logFile.end())),
                  std::wstring::npos)
            << testing::PrintToString(report.text);
        report.press(IDOK);
        EXPECT_TRUE(setup.waitForFinishPage());
        EXPECT_TRUE(regKeyExists(HKEY_LOCAL_MACHINE, acad2010.keyPath + "Applications\\TL_DodudEdiv2010"));
    }
    // One log for both runs: UTF-8 with a byte-order mark, a header per run, and each failed
    // copy with what was answered and the Windows error.
    std::string bytes;
    ASSERT_TRUE(readFile(logFile, bytes));
    EXPECT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0);
    EXPECT_EQ(bytes.find("\xEF\xBB\xBF", 3), std::string::npos);
    std::wstring log = readUtf8File(logFile);
    const std::wstring failed = L"  C:\\e2e\\target\\T-DodudEdiv\\TL_DodudEdiv2010.ARX  错误 5";
    EXPECT_NE(log.find(L"复制失败，安装中止" + failed), std::wstring::npos) << testing::PrintToString(log);
    EXPECT_NE(log.find(L"未能复制文件（已跳过）" + failed), std::wstring::npos);
    EXPECT_NE(
        log.find(L"已安装到 AutoCAD 2010  " + std::wstring(acad2010.folder.begin(), acad2010.folder.end())),
        std::wstring::npos);
    std::size_t first = log.find(L"==== "), second = log.find(L"==== ", first + 1);
    EXPECT_NE(second, std::wstring::npos) << "a header per run";
    EXPECT_NE(log.find(L"SetUp.exe（" + std::to_wstring(platformBits) + L" 位版本）  V2026.01.01  Windows "),
              std::wstring::npos);
}

TEST_F(InstallTest, PathFieldVariants) {
    Installation acad2010 = install(2010);
    const struct {
        const wchar_t* field;
        const char* target;
    } installs[] = {
        {L"C:\\e2e\\target\\apps\\", "C:\\e2e\\target\\apps\\T-DodudEdiv"},
        {L"C:\\e2e\\target\\no-parent\\deeper", nullptr},  // the folder cannot be made
    };
    for (const auto& c : installs) {
        SCOPED_TRACE(testing::Message() << c.field);
        removeTree("C:\\e2e\\target");
        CreateDirectoryA("C:\\e2e\\target", nullptr);
        SetupProcess setup(source_.exe);
        startInstall(setup, c.field);
        if (c.target) {
            ASSERT_TRUE(setup.waitForFinishPage());
            EXPECT_TRUE(fileExists(std::string(c.target) + "\\TL_DodudEdiv2010.ARX"));
            EXPECT_EQ(readRegString(HKEY_LOCAL_MACHINE, acad2010.keyPath + "Applications\\TL_DodudEdiv2010",
                                    "LOADER"),
                      std::string(c.target) + "\\TL_DodudEdiv2010.ARX");
            continue;
        }
        MessageBoxWindow message = waitForMessageBox(setup.dialog());
        ASSERT_TRUE(message);
        EXPECT_EQ(message.text.rfind(L"创建文件夹 C:\\e2e\\target\\no-parent\\deeper 失败", 0), 0u)
            << testing::PrintToString(message.text);
        message.press(IDABORT);
        EXPECT_TRUE(setup.waitForExit(5000));
        EXPECT_FALSE(isFolder("C:\\e2e\\target\\no-parent"));
    }

    // Paths the installation cannot use are refused, one after the other in one run, each
    // with its message; the selection page stays and nothing is created anywhere (not
    // relative to the installer's folder either).
    const std::wstring overlong = L"C:\\e2e\\target\\" + std::wstring(230, L'x');
    const struct {
        std::wstring field;
        std::wstring message;  // how the message begins
    } refused[] = {
        {L"", L"安装路径无效，请输入或选择安装路径 !"},
        {L"\\", L"安装路径无效，请输入或选择安装路径 !"},
        {L"Torlen", L"安装路径 Torlen 无效 !"},
        {L"C:Torlen", L"安装路径 C:Torlen 无效 !"},
        {L"C:\\e2e\\target\\name.", L"安装路径 C:\\e2e\\target\\name. 无效 !"},
        {L"C:\\e2e\\target\\name \\sub", L"安装路径 C:\\e2e\\target\\name \\sub 无效 !"},
        {L"C:\\e2e\\target\\a|b", L"安装路径 C:\\e2e\\target\\a|b 无效 !"},
        {L"C:\\e2e\\target\\a;b", L"安装路径 C:\\e2e\\target\\a;b 含有分号（;）!"},
        {overlong, L"路径 " + overlong + L"\\T-DodudEdiv"},  // files in it would be over 259
    };
    removeTree("C:\\e2e\\target");
    CreateDirectoryA("C:\\e2e\\target", nullptr);
    SetupProcess setup(source_.exe);
    ASSERT_TRUE(setup.dialogFound());
    for (const auto& c : refused) {
        SCOPED_TRACE(testing::PrintToString(c.field));
        startInstall(setup, c.field.c_str());
        MessageBoxWindow message = waitForMessageBox(setup.dialog());
        ASSERT_TRUE(message);
        EXPECT_EQ(message.caption, L"T-软件安装");
        EXPECT_EQ(message.text.rfind(c.message, 0), 0u) << testing::PrintToString(message.text);
        message.press(IDOK);
        setup.settle();
        EXPECT_TRUE(setup.visible(IDC_INSTALL_PATH));
    }
    EXPECT_TRUE(folderEntries("C:\\e2e\\target").empty());
    EXPECT_FALSE(isFolder("C:\\T-DodudEdiv"));
    EXPECT_EQ(folderEntries(kSource), (std::vector<std::string>{"Data", "SetUp.exe", "SetUpCmd.exe"}));
}

// A copy into an AutoCAD folder that fails is asked about like any other: Abort puts back
// everything the run had done (the machine is as it was); Ignore goes on, and the file is named
// before the finish page.
TEST_F(InstallTest, FailedCopyIntoAutoCadFolderIsAskedAbout) {
    // A 32-bit AutoCAD 2009, found by both editions (the 32 edition under WOW64 through both
    // release roots), is one installation: its held file is asked about and reported once.
    Installation acad2009 = install(2009, 32);
    // A running AutoCAD holds its modules open without sharing; the copy over one fails.
    std::string held = acad2009.folder + "\\ACAD2013P.dll";
    writeFile(held, "older module");
    const std::wstring heldPath = L"C:\\e2e\\acad\\AutoCAD 2009 x86\\ACAD2013P.dll";
    for (int answer : {IDABORT, IDIGNORE}) {
        SCOPED_TRACE(answer == IDABORT ? "Abort" : "Ignore");
        const std::string before = state();
        HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        SetupProcess setup(source_.exe);
        startInstall(setup, L"C:\\e2e\\target");
        MessageBoxWindow asked = waitForMessageBox(setup.dialog(), 20000);
        ASSERT_TRUE(asked);
        EXPECT_EQ(asked.text.rfind(L"拷贝文件 " + heldPath + L" 失败", 0), 0u)
            << testing::PrintToString(asked.text);
        asked.press(answer);
        if (answer == IDABORT) {
            ASSERT_TRUE(setup.waitForExit(10000));
            CloseHandle(holder);
            EXPECT_EQ(state(), before);
            continue;
        }
        MessageBoxWindow report = waitForMessageBox(setup.dialog(), 20000);
        CloseHandle(holder);
        ASSERT_TRUE(report);
        EXPECT_EQ(report.caption, L"T-软件安装");
        // Every file reached the target folder: only then does the message say so.
        EXPECT_EQ(report.text.rfind(L"文件已复制到安装目录", 0), 0u);
        std::size_t named = report.text.find(heldPath);
        EXPECT_NE(named, std::wstring::npos);
        EXPECT_EQ(report.text.find(heldPath, named + 1), std::wstring::npos) << "named twice";
        EXPECT_EQ(report.text.find(L"注册表"), std::wstring::npos) << "no registry key failed";
        // The cause decides the advice: a file in use asks to close AutoCAD, not for more rights.
        EXPECT_EQ(report.text.find(heldPath + L"（文件正在使用）"), named);
        EXPECT_NE(report.text.find(L"请关闭 AutoCAD，然后重新安装。"), std::wstring::npos);
        EXPECT_EQ(report.text.find(L"管理员"), std::wstring::npos);
        EXPECT_FALSE(setup.visible(IDOK));
        report.press(IDOK);
        EXPECT_TRUE(setup.waitForFinishPage());
        std::string kept;
        EXPECT_TRUE(readFile(held, kept) && kept == "older module") << "the file left out keeps what it held";
    }
}

// As the installer is shipped to users: SetUp.exe beside its Data folder and nothing else. It
// installs to the finish page without a message, lists itself in Programs and Features with
// its own uninstall command (no quiet one: SetUpCmd.exe did not come along), and that command
// takes everything away again.
TEST_F(InstallTest, SetUpExeAloneInstallsToTheFinishPageAndItsEntryUninstalls) {
    install(2014);
    source_ = prepareInstallSource(kSource, kDataFiles, false);
    const std::string before = state();
    {
        SetupProcess setup(source_.exe);
        startInstall(setup, L"C:\\e2e\\target");
        ASSERT_TRUE(setup.waitForFinishPage());
        EXPECT_FALSE(waitForMessageBox(setup.dialog(), 300));
        setup.click(IDOK);
        EXPECT_TRUE(setup.waitForExit(5000));
    }
    const std::string entry = std::string(isWow64Process() ? "SOFTWARE\\Wow6432Node\\" : "SOFTWARE\\") +
                              "Microsoft\\Windows\\CurrentVersion\\Uninstall\\TorlenBatchPrint";
    std::wstring command;
    DWORD type = REG_NONE;
    ASSERT_TRUE(regReadWide(HKEY_LOCAL_MACHINE, entry, "UninstallString", command, type));
    EXPECT_EQ(command, L"\"C:\\e2e\\target\\T-DodudEdiv\\SetUp.exe\" /uninstall");
    EXPECT_FALSE(regReadWide(HKEY_LOCAL_MACHINE, entry, "QuietUninstallString", command, type));
    EXPECT_EQ(uninstallThroughEntry(command).result, L"批打印软件已卸载。");
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, entry));
    EXPECT_TRUE(waitUntilRemoved("C:\\e2e\\target", 10000));
    EXPECT_EQ(state(), before);
}

// --- administrator rights and the installation lock ---------------------------------------
// Under User Account Control an administrator's double-click runs SetUp.exe with a filtered
// token (Token::Filtered). Wine's access checks treat its tokens alike, so rights are taken away
// with security descriptors, from everybody, and given back where the elevated instance is to
// have them.

// The shield is on Install exactly while the ticked installations need a right this process
// lacks and can ask Windows for: it follows the ticks, and an elevated process shows none.
TEST_F(InstallTest, ShieldMarksInstallWhileTheTickedReleasesNeedRights) {
    install(2010);
    Installation acad2014 = install(2014);
    const struct {
        const char* what;
        std::optional<InstallationPart> takenFrom2014;
        Token token;
        bool shield;
    } cases[] = {
        {"every right there", std::nullopt, Token::Filtered, false},
        {"AutoCAD 2014's product key not writable", InstallationPart::ProductKey, Token::Filtered, true},
        {"AutoCAD 2014's folder not writable", InstallationPart::Folder, Token::Filtered, true},
        {"elevated already", InstallationPart::ProductKey, Token::Elevated, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.takenFrom2014) takeAway(acad2014, *c.takenFrom2014);
        SetupProcess setup(source_.exe, c.token);
        ASSERT_TRUE(setup.dialogFound());
        EXPECT_EQ(setup.shielded(IDC_INSTALL), c.shield);
        setup.clickAndWait(releaseBox(2014));  // AutoCAD 2010 alone needs nothing
        EXPECT_FALSE(setup.shielded(IDC_INSTALL));
        setup.clickAndWait(releaseBox(2014));
        EXPECT_EQ(setup.shielded(IDC_INSTALL), c.shield);
        if (c.takenFrom2014) {
            EXPECT_TRUE(setWritable(acad2014, *c.takenFrom2014, true));
        }
    }
}

// Install without the rights starts the program again elevated with the folder and the ticks
// chosen, and the first instance ends, having created nothing. The new instance opens with them
// and installs at once; the running-AutoCAD warning still applies, and holds it here until the
// rights are back.
TEST_F(InstallTest, InstallRestartsElevatedWithTheChoicesAndTheNewInstanceInstalls) {
    Installation acad2010 = install(2010), acad2014 = install(2014);
    takeAway(acad2014, InstallationPart::ProductKey);
    CreateDirectoryA("C:\\e2e\\target", nullptr);
    std::optional<RunningProgram> acad(std::in_place, "acad.exe");
    SetupProcess first(source_.exe, Token::Filtered);
    ASSERT_TRUE(first.dialogFound());
    first.clickAndWait(releaseBox(2010));
    startInstall(first, L"C:\\e2e\\target\\chosen folder\\");
    MessageBoxWindow warning = waitForMessageBox(first.dialog());
    ASSERT_TRUE(warning);
    warning.press(IDOK);
    first.click(IDC_INSTALL);

    SetupProcess elevated(RestartOf{first});
    ASSERT_TRUE(elevated.dialogFound());
    EXPECT_TRUE(first.waitForExit(0));
    MessageBoxWindow again = waitForMessageBox(elevated.dialog());
    ASSERT_TRUE(again);
    EXPECT_EQ(again.text, L"请关闭AutoCAD后再进行安装 !");
    EXPECT_EQ(elevated.text(IDC_INSTALL_PATH), L"C:\\e2e\\target\\chosen folder\\");
    EXPECT_TRUE(elevated.checked(releaseBox(2014)));
    EXPECT_FALSE(elevated.checked(releaseBox(2010)));
    EXPECT_TRUE(elevated.enabled(releaseBox(2010)));
    EXPECT_FALSE(elevated.shielded(IDC_INSTALL)) << "an instance started elevated never asks again";
    EXPECT_TRUE(folderEntries("C:\\e2e\\target").empty());

    acad.reset();
    ASSERT_TRUE(setWritable(acad2014, InstallationPart::ProductKey, true));
    again.press(IDOK);
    elevated.click(IDC_INSTALL);
    ASSERT_TRUE(elevated.waitForFinishPage());
    expectDemandLoadKeys(acad2014, "C:\\e2e\\target\\chosen folder\\T-DodudEdiv", 2013, 2013);
    EXPECT_TRUE(fileExists(acad2014.folder + "\\itextsharp.dll"));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, acad2010.keyPath + "Applications"));
    EXPECT_FALSE(fileExists(acad2010.folder + "\\itextsharp.dll"));
}

// An instance that is elevated already, or that the first started elevated, and still cannot
// write a key or folder the installation needs names it with its Windows error, changes nothing
// and never starts itself again.
TEST_F(InstallTest, ElevatedWithoutTheRightsNamesWhatItCannotWriteAndChangesNothing) {
    Installation acad2014 = install(2014);
    const std::wstring folder(acad2014.folder.begin(), acad2014.folder.end());
    const std::wstring denied = L"（" + windowsErrorText(ERROR_ACCESS_DENIED) + L"）";
    const struct {
        const char* what;
        Token token;
        InstallationPart part;
        std::wstring begins;
        std::wstring names;
    } cases[] = {
        {"elevated, the product key", Token::Elevated, InstallationPart::ProductKey,
         L"无法写入\n\n    HKEY_LOCAL_MACHINE\\SOFTWARE\\", L"\\ACAD-2014:804\\\n"},
        {"started elevated by the first, the folder", Token::Filtered, InstallationPart::Folder,
         L"无法写入\n\n    " + folder + L"\n", folder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = state();
        takeAway(acad2014, c.part);
        SetupProcess first(source_.exe, c.token);
        startInstall(first, L"C:\\e2e\\target");
        std::optional<SetupProcess> restarted;
        if (c.token == Token::Filtered) restarted.emplace(RestartOf{first});
        const SetupProcess& setup = restarted ? *restarted : first;
        ASSERT_TRUE(setup.dialogFound());
        MessageBoxWindow message = waitForMessageBox(setup.dialog());
        ASSERT_TRUE(message);
        EXPECT_EQ(message.caption, L"T-软件安装");
        EXPECT_EQ(message.text.rfind(c.begins, 0), 0u) << testing::PrintToString(message.text);
        EXPECT_NE(message.text.find(c.names), std::wstring::npos);
        EXPECT_NE(message.text.find(denied), std::wstring::npos);
        message.press(IDOK);
        setup.settle();
        EXPECT_TRUE(setup.visible(IDC_INSTALL_PATH));
        EXPECT_EQ(setup.exitCode(), static_cast<DWORD>(STILL_ACTIVE)) << "it started itself again";
        EXPECT_TRUE(setWritable(acad2014, c.part, true));
        EXPECT_EQ(state(), before);
    }
}

// When the elevated instance does not start, nothing is installed, the message says so and
// why, and the dialog stays, holding the installation lock again: a declined prompt (through the
// build that declines, see tests/e2e/declining), or a program file moved away while it runs.
TEST_F(InstallTest, NoElevatedStartInstallsNothingAndSaysWhy) {
    Installation acad2014 = install(2014);
    takeAway(acad2014, InstallationPart::Folder);
    const std::wstring folder(acad2014.folder.begin(), acad2014.folder.end());
    const struct {
        const char* what;
        const char* build;  // of SetUp.exe
        bool moved;         // SetUp.exe, once it runs
        std::wstring says;
    } cases[] = {
        {"declined", "declining_setup.exe", false,
         L"您没有允许 SetUp.exe 以管理员身份运行，因此没有安装任何内容。"},
        {"not started", "SetUp.exe", true,
         L"但 SetUp.exe 无法以管理员身份重新启动（" + windowsErrorText(ERROR_FILE_NOT_FOUND) +
             L"），因此没有安装任何内容。"},
    };
    const std::string before = state();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(CopyFileA((builtFolder() + "\\" + c.build).c_str(), source_.exe.c_str(), FALSE));
        SetupProcess setup(source_.exe, Token::Filtered);
        ASSERT_TRUE(setup.dialogFound());
        if (c.moved) {
            ASSERT_TRUE(MoveFileA(source_.exe.c_str(), (source_.exe + ".moved").c_str()));
        }
        EXPECT_TRUE(setup.shielded(IDC_INSTALL));
        startInstall(setup, L"C:\\e2e\\target");
        MessageBoxWindow message = waitForMessageBox(setup.dialog());
        ASSERT_TRUE(message);
        EXPECT_EQ(message.caption, L"T-软件安装");
        EXPECT_EQ(message.text.rfind(L"安装需要管理员权限，才能写入\n\n    " + folder + L"\n\n", 0), 0u)
            << testing::PrintToString(message.text);
        EXPECT_NE(message.text.find(c.says), std::wstring::npos) << testing::PrintToString(message.text);
        message.press(IDOK);
        setup.settle();
        EXPECT_TRUE(setup.visible(IDC_INSTALL_PATH));
        EXPECT_TRUE(setup.shielded(IDC_INSTALL));
        EXPECT_EQ(state(), before);
        EXPECT_EQ(runCommand(source_.cmd, L"uninstall").exitCode, 1618u) << "the dialog holds the lock again";
    }
}

// One installation at a time: a second SetUp.exe is refused before anything is created while
// the first is open, and installs once the first has ended.
TEST_F(InstallTest, SecondInstallerIsRefusedWhileTheFirstIsOpen) {
    Installation acad2014 = install(2014);
    SetupProcess first(source_.exe);
    ASSERT_TRUE(first.dialogFound());
    SetupProcess second(source_.exe);
    startInstall(second, L"C:\\e2e\\target");
    MessageBoxWindow refusal = waitForMessageBox(second.dialog());
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal.caption, L"T-软件安装");
    EXPECT_EQ(
        refusal.text,
        L"另一个安装程序正在运行 !\n\n请等 SetUp.exe 或 SetUpCmd.exe 结束后再进行安装。没有做任何更改。");
    refusal.press(IDOK);
    second.settle();
    EXPECT_TRUE(second.visible(IDC_INSTALL_PATH));
    EXPECT_FALSE(isFolder("C:\\e2e\\target"));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, acad2014.keyPath + "Applications"));
    first.click(IDCANCEL);
    ASSERT_TRUE(first.waitForExit(5000));
    second.click(IDC_INSTALL);
    ASSERT_TRUE(second.waitForFinishPage());
    expectDemandLoadKeys(acad2014, "C:\\e2e\\target\\T-DodudEdiv", 2013, 2013);
}

// A chosen folder that exists and that others may change (here: everyone may do anything) is
// not used silently: No leaves everything as it was on the selection page; Yes protects it too.
TEST_F(InstallTest, AChosenFolderOthersMayChangeIsProtectedOnlyWhenTheUserSaysSo) {
    install(2010);
    freshFolder("C:\\e2e\\target");
    ASSERT_TRUE(setFolderSecurity("C:\\e2e\\target", "D:P(A;OICI;FA;;;WD)"));
    SetupProcess setup(source_.exe);
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        if (answer == IDNO)
            startInstall(setup, L"C:\\e2e\\target");
        else
            setup.click(IDC_INSTALL);
        MessageBoxWindow question = waitForMessageBox(setup.dialog());
        ASSERT_TRUE(question);
        EXPECT_NE(question.text.find(L"管理员以外的用户也可以重命名、删除或接管它"), std::wstring::npos);
        question.press(answer);
        if (answer == IDNO) {
            setup.settle();
            EXPECT_FALSE(isFolder("C:\\e2e\\target\\T-DodudEdiv"));
            EXPECT_TRUE(setup.visible(IDC_INSTALL_PATH));
        }
    }
    ASSERT_TRUE(setup.waitForFinishPage());
    EXPECT_FALSE(othersMayChange("C:\\e2e\\target"));
    EXPECT_TRUE(fileExists("C:\\e2e\\target\\T-DodudEdiv\\TL_DodudEdiv2010.ARX"));
}
