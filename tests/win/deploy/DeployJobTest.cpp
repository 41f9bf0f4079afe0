// The deployment into the target folder against real files: what is copied where, the
// read-only bits and the download marker, the Abort/Retry/Ignore dialogue, the progress
// steps, and paths too long to handle.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <deque>

#include "DeployWorld.h"
#include "deploy/DeployJob.h"

namespace {

const char* const kCaption = "T-软件安装";

std::string copyFailedText(const std::string& destination) {
    return "拷贝文件 " + destination +
           " 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";
}

std::string contentsOf(const std::string& path) {
    std::string contents;
    return readFile(path, contents) ? contents : "<missing>";
}

}  // namespace

TEST(DeployProductFiles, CopiesPluginFilesSkipsTheRestAndSendsTheIniToTheUserFolder) {
    DeployWorld world;
    const char* skipped[] = {"setup.exe", "TORLEN_EN.SHX", "torlen_hz.Shx", "TORLEN.prt5"};
    for (const char* name : skipped) writeFile(world.data + "\\" + name, name);
    writeFile(world.data + "\\TL_DodudEdiv2010.arx", "arx");
    writeFile(world.data + "\\itextsharp.dll", "itext");
    writeFile(world.data + "\\torlen.ini", "settings");
    CreateDirectoryA((world.data + "\\Sub").c_str(), nullptr);
    writeFile(world.data + "\\Sub\\inner.txt", "inner");
    TestProgressBar bar;
    ScriptedMessageBoxes boxes;

    DeployJob job(world.target + "\\", bar.control());
    EXPECT_EQ(world.target, job.target());
    EXPECT_TRUE(job.deployProductFiles());

    EXPECT_EQ((std::vector<std::string>{"TL_DodudEdiv2010.arx", "itextsharp.dll"}),
              folderEntries(world.target));
    EXPECT_EQ("itext", contentsOf(world.target + "\\itextsharp.dll"));
    // The settings file keeps the letter case it was found with.
    EXPECT_EQ((std::vector<std::string>{"torlen.ini"}), folderEntries(world.appData + "\\Torlen"));
    EXPECT_EQ("settings", contentsOf(world.appData + "\\Torlen\\torlen.ini"));
    EXPECT_TRUE(boxes.shown().empty());
    // ".", "..", 4 skipped, 3 copied, the sub-folder, and the closing pass.
    EXPECT_EQ(2 + 4 + 3 + 1 + 1, bar.position());
}

TEST(DeployProductFiles, WithoutSetupDataFolderNothingHappens) {
    DeployWorld world;
    RemoveDirectoryA(world.data.c_str());
    TestProgressBar bar;
    ScriptedMessageBoxes boxes;
    EXPECT_FALSE(DeployJob(world.target, bar.control()).deployProductFiles());
    EXPECT_EQ(1u, boxes.shown().size());
    EXPECT_FALSE(isFolder(world.target));
    EXPECT_EQ(0, bar.position());
}

TEST(DeployProductFiles, EveryEntryOfALargeFolderIsCopied) {
    DeployWorld world;
    const int files = 150;
    for (int i = 0; i < files; ++i) writeFile(world.data + "\\file" + std::to_string(i) + ".dat", "x");
    TestProgressBar bar;
    ScriptedMessageBoxes boxes;
    EXPECT_TRUE(DeployJob(world.target, bar.control()).deployProductFiles());
    EXPECT_EQ(static_cast<size_t>(files), folderEntries(world.target).size());
    EXPECT_EQ(files + 2 + 1, bar.position());
}

TEST(DeployProductFiles, ReadOnlySourceAndDestinationAreOverwrittenSilently) {
    DeployWorld world;
    std::string source = world.data + "\\a.dll";
    writeFile(source, "new");
    makeReadOnly(source);
    CreateDirectoryA(world.target.c_str(), nullptr);
    writeFile(world.target + "\\a.dll", "old");
    makeReadOnly(world.target + "\\a.dll");
    TestProgressBar bar;
    ScriptedMessageBoxes boxes;

    EXPECT_TRUE(DeployJob(world.target, bar.control()).deployProductFiles());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ("new", contentsOf(world.target + "\\a.dll"));
    EXPECT_FALSE(isReadOnly(world.target + "\\a.dll"));
    EXPECT_FALSE(isReadOnly(source));
}

// Called directly: under Wine the marker is a sibling file the walk would meet as an
// entry of its own.
TEST(CopyProductFile, RemovesTheDownloadMarkerFromTheSourceBeforeCopying) {
    DeployWorld world;
    std::string source = world.data + "\\a.dll";
    writeFile(source, "new");
    writeFile(source + ":Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");
    CreateDirectoryA(world.target.c_str(), nullptr);
    TestProgressBar bar;
    ScriptedMessageBoxes boxes;

    EXPECT_TRUE(DeployJob(world.target, bar.control()).copyProductFile(source, world.target + "\\a.dll"));
    EXPECT_FALSE(fileExists(source + ":Zone.Identifier"));
    EXPECT_EQ("new", contentsOf(world.target + "\\a.dll"));
    EXPECT_EQ(0, bar.position());
}

namespace {

// A target in which a.dll cannot be written: a folder of that name stands in its way.
struct BlockedTarget {
    DeployWorld world;
    std::string blocked;
    std::vector<std::string> presentAtFirstMessage;
    BlockedTarget() : blocked(world.target + "\\a.dll") {
        writeFile(world.data + "\\a.dll", "a");
        writeFile(world.data + "\\b.dll", "b");
        writeFile(world.data + "\\c.dll", "c");
        CreateDirectoryA(world.target.c_str(), nullptr);
        CreateDirectoryA(blocked.c_str(), nullptr);
    }
};

void unblock(int index, void* context) {
    auto* target = static_cast<BlockedTarget*>(context);
    if (index == 0) target->presentAtFirstMessage = folderEntries(target->world.target);
    if (index == 1) RemoveDirectoryA(target->blocked.c_str());
}

}  // namespace

TEST(DeployProductFiles, FailedCopyAsksAbortRetryIgnore) {
    struct Case {
        const char* what;
        std::deque<int> answers;
        bool result;
        size_t messages;
        bool copied;  // a.dll arrives in the end
    } cases[] = {
        {"retry after the cause is gone", {IDRETRY, IDRETRY}, true, 2, true},
        {"ignore goes on", {IDIGNORE}, true, 1, false},
        {"abort stops", {IDABORT}, false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BlockedTarget target;
        TestProgressBar bar;
        ScriptedMessageBoxes boxes(c.answers);
        boxes.onShow(unblock, &target);

        EXPECT_EQ(c.result, DeployJob(target.world.target, bar.control()).deployProductFiles());
        ASSERT_EQ(c.messages, boxes.shown().size());
        for (const auto& shown : boxes.shown()) {
            EXPECT_EQ(copyFailedText(target.blocked), shown.text);
            EXPECT_EQ(kCaption, shown.caption);
            EXPECT_EQ(static_cast<UINT>(MB_ABORTRETRYIGNORE), shown.style);
        }
        EXPECT_EQ(c.copied, contentsOf(target.blocked) == "a");
        std::vector<std::string> present = folderEntries(target.world.target);
        if (c.result) {
            EXPECT_EQ((std::vector<std::string>{"a.dll", "b.dll", "c.dll"}), present);
        } else {
            // What was copied before Abort stays; nothing is copied after it.
            EXPECT_EQ(target.presentAtFirstMessage, present);
        }
    }
}

TEST(DeployProductFiles, RetryAfterTheProgramHoldingTheFileLetsGo) {
    DeployWorld world;
    writeFile(world.data + "\\a.dll", "new");
    CreateDirectoryA(world.target.c_str(), nullptr);
    std::string destination = world.target + "\\a.dll";
    writeFile(destination, "old");
    HANDLE held = CreateFileA(destination.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    TestProgressBar bar;
    ScriptedMessageBoxes boxes({IDRETRY});
    boxes.onShow([](int, void* handle) { CloseHandle(static_cast<HANDLE>(handle)); }, held);

    EXPECT_TRUE(DeployJob(world.target, bar.control()).deployProductFiles());
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(copyFailedText(destination), boxes.shown()[0].text);
    EXPECT_EQ("new", contentsOf(destination));
}

TEST(DeployProductFiles, IniGoesToTheShellsFolderWhenAppDataIsUnusable) {
    char shellFolder[MAX_PATH] = {};
    ASSERT_TRUE(
        SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, shellFolder)));
    const std::string userFolder = std::string(shellFolder) + "\\Torlen";
    const std::string tooLong(300, 'x');
    const char* values[] = {nullptr, tooLong.c_str()};
    for (const char* value : values) {
        SCOPED_TRACE(value ? "too long" : "unset");
        DeployWorld world;
        ScopedEnvironment appData("APPDATA", value);
        writeFile(world.data + "\\Torlen.Ini", "settings");
        TestProgressBar bar;
        ScriptedMessageBoxes boxes;
        bool hadUserFolder = isFolder(userFolder);

        EXPECT_TRUE(DeployJob(world.target, bar.control()).deployProductFiles());
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_EQ("settings", contentsOf(userFolder + "\\Torlen.Ini"));
        EXPECT_FALSE(fileExists("\\Torlen\\Torlen.Ini"));
        DeleteFileA((userFolder + "\\Torlen.Ini").c_str());
        if (!hadUserFolder) RemoveDirectoryA(userFolder.c_str());
    }
}

TEST(DeployProductFiles, TargetPathTooLongIsRefusedWhole) {
    DeployWorld world;
    writeFile(world.data + "\\a.dll", "a");
    // Two levels that fit, a third that takes the file paths past 259 characters.
    std::string parent = world.root / std::string(90, 'p') + "\\" + std::string(90, 'q');
    CreateDirectoryA((world.root / std::string(90, 'p')).c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    std::string target = parent + "\\" + std::string(90, 't');
    TestProgressBar bar;
    ScriptedMessageBoxes boxes;

    EXPECT_FALSE(DeployJob(target, bar.control()).deployProductFiles());
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_NE(std::string::npos, boxes.shown()[0].text.find(target));
    EXPECT_NE(std::string::npos, boxes.shown()[0].text.find("259"));
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.shown()[0].style);
    // No folder is made, neither under the whole name nor under a cut-off one.
    EXPECT_TRUE(folderEntries(parent).empty());
}
