// The deployment into the target folder against real files: what is copied where, the
// read-only bits and the download marker, the Abort/Retry/Ignore dialogue, the progress
// steps, and paths too long to handle.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <deque>

#include "DeployWorld.h"
#include "deploy/DeployJob.h"
#include "deploy/InstallFolders.h"

namespace {

using Answer = InstallObserver::CopyAnswer;

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
    RecordingObserver observer;
    FailureLog failures;

    DeployJob job(world.target + "\\", observer, failures);
    EXPECT_EQ(world.target, job.target());
    EXPECT_TRUE(job.deployProductFiles());

    EXPECT_EQ((std::vector<std::string>{"TL_DodudEdiv2010.arx", "itextsharp.dll"}),
              folderEntries(world.target));
    EXPECT_EQ("itext", contentsOf(world.target + "\\itextsharp.dll"));
    // The settings file keeps the letter case it was found with.
    EXPECT_EQ((std::vector<std::string>{"torlen.ini"}), folderEntries(world.appData + "\\Torlen"));
    EXPECT_EQ("settings", contentsOf(world.appData + "\\Torlen\\torlen.ini"));
    EXPECT_TRUE(observer.asked.empty());
    EXPECT_TRUE(failures.empty());
    // ".", "..", 4 skipped, 3 copied, the sub-folder, and the closing pass.
    EXPECT_EQ(2 + 4 + 3 + 1 + 1, observer.steps);
}

TEST(DeployProductFiles, WithoutSetupDataFolderNothingHappens) {
    DeployWorld world;
    RemoveDirectoryA(world.data.c_str());
    RecordingObserver observer;
    FailureLog failures;
    EXPECT_FALSE(DeployJob(world.target, observer, failures).deployProductFiles());
    ASSERT_EQ(1u, observer.refusals.size());
    EXPECT_EQ(Refusal::Reason::DataFolderMissing, observer.refusals[0].reason);
    EXPECT_FALSE(isFolder(world.target));
    EXPECT_EQ(0, observer.steps);
}

TEST(DeployProductFiles, EveryEntryOfALargeFolderIsCopied) {
    DeployWorld world;
    const int files = 150;
    for (int i = 0; i < files; ++i) writeFile(world.data + "\\file" + std::to_string(i) + ".dat", "x");
    RecordingObserver observer;
    FailureLog failures;
    EXPECT_TRUE(DeployJob(world.target, observer, failures).deployProductFiles());
    EXPECT_EQ(static_cast<size_t>(files), folderEntries(world.target).size());
    EXPECT_EQ(files + 2 + 1, observer.steps);
}

TEST(DeployProductFiles, ReadOnlySourceAndDestinationAreOverwrittenSilently) {
    DeployWorld world;
    std::string source = world.data + "\\a.dll";
    writeFile(source, "new");
    makeReadOnly(source);
    CreateDirectoryA(world.target.c_str(), nullptr);
    writeFile(world.target + "\\a.dll", "old");
    makeReadOnly(world.target + "\\a.dll");
    RecordingObserver observer;
    FailureLog failures;

    EXPECT_TRUE(DeployJob(world.target, observer, failures).deployProductFiles());
    EXPECT_TRUE(observer.asked.empty());
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
    RecordingObserver observer;
    FailureLog failures;

    EXPECT_TRUE(
        DeployJob(world.target, observer, failures).copyProductFile(source, world.target + "\\a.dll"));
    EXPECT_FALSE(fileExists(source + ":Zone.Identifier"));
    EXPECT_EQ("new", contentsOf(world.target + "\\a.dll"));
    EXPECT_EQ(0, observer.steps);
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
        std::deque<Answer> answers;
        bool result;
        size_t messages;
        bool copied;  // a.dll arrives in the end
    } cases[] = {
        {"retry after the cause is gone", {Answer::Retry, Answer::Retry}, true, 2, true},
        {"ignore goes on", {Answer::Ignore}, true, 1, false},
        {"abort stops", {Answer::Abort}, false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BlockedTarget target;
        RecordingObserver observer(c.answers);
        observer.beforeEachAnswer(unblock, &target);
        FailureLog failures;

        EXPECT_EQ(c.result, DeployJob(target.world.target, observer, failures).deployProductFiles());
        ASSERT_EQ(c.messages, observer.asked.size());
        for (const Failure& asked : observer.asked) {
            EXPECT_EQ(Failure::Action::Copy, asked.action);
            EXPECT_EQ(target.blocked, asked.subject);
            EXPECT_EQ(static_cast<unsigned long>(ERROR_ACCESS_DENIED), asked.error);  // a folder in the way
        }
        // Only a file left out by Ignore is kept for the last message.
        EXPECT_EQ(c.answers.front() == Answer::Ignore ? 1u : 0u, failures.size());
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
    RecordingObserver observer({Answer::Retry});
    observer.beforeEachAnswer([](int, void* handle) { CloseHandle(static_cast<HANDLE>(handle)); }, held);
    FailureLog failures;

    EXPECT_TRUE(DeployJob(world.target, observer, failures).deployProductFiles());
    ASSERT_EQ(1u, observer.asked.size());
    EXPECT_EQ(destination, observer.asked[0].subject);
    EXPECT_EQ(static_cast<unsigned long>(ERROR_SHARING_VIOLATION), observer.asked[0].error);
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
        RecordingObserver observer;
        FailureLog failures;
        bool hadUserFolder = isFolder(userFolder);

        EXPECT_TRUE(DeployJob(world.target, observer, failures).deployProductFiles());
        EXPECT_TRUE(observer.asked.empty());
        EXPECT_EQ("settings", contentsOf(userFolder + "\\Torlen.Ini"));
        EXPECT_FALSE(fileExists("\\Torlen\\Torlen.Ini"));
        DeleteFileA((userFolder + "\\Torlen.Ini").c_str());
        if (!hadUserFolder) RemoveDirectoryA(userFolder.c_str());
    }
}

// Every path is measured before anything is created: nothing is made or copied, neither
// under the whole name nor under a cut-off one, and the message names the longest path.
TEST(DeployProductFiles, OverlongPathsAreRefusedBeforeAnythingIsCreated) {
    const struct {
        const char* what;
        std::size_t targetName;     // length of the target folder's own name
        const char* longestSource;  // the data file whose destination is named
    } cases[] = {
        // About 45 + 91 + 91 characters lead to the target's parent.
        {"the target folder itself is over 247 characters", 30, "TL_DodudEdiv2010.arx"},
        {"the folder fits, one file's path is over 259 characters", 15, "TL_DodudEdiv2010.arx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeployWorld world;
        writeFile(world.data + "\\a.dll", "a");
        writeFile(world.data + "\\TL_DodudEdiv2010.arx", "arx");
        std::string parent = world.root / std::string(90, 'p') + "\\" + std::string(90, 'q');
        CreateDirectoryA((world.root / std::string(90, 'p')).c_str(), nullptr);
        ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
        std::string target = parent + "\\" + std::string(c.targetName, 't') + "\\T-DodudEdiv";
        RecordingObserver observer;
        FailureLog failures;

        DeployJob job(target, observer, failures);
        EXPECT_EQ(DeployJob::Readiness::PathTooLong, job.prepare());
        EXPECT_FALSE(job.deployProductFiles());
        ASSERT_EQ(1u, observer.refusals.size());
        EXPECT_EQ(Refusal::Reason::PathTooLong, observer.refusals[0].reason);
        EXPECT_EQ(target + "\\" + c.longestSource, observer.refusals[0].subject);
        EXPECT_TRUE(folderEntries(parent).empty());
        EXPECT_EQ(0, observer.steps);
    }
}

// A setup data folder that cannot be listed is not an empty one: nothing is installed.
TEST(DeployProductFiles, UnreadableDataFolderIsRefusedAndNothingIsWritten) {
    DeployWorld world;
    writeFile(world.data + "\\TL_DodudEdiv2010.arx", "arx");
    // Wine gives the folder no access at all; scripts/test runs Wine without the root's
    // right to pass over file permissions, as a Windows user runs.
    ASSERT_TRUE(setFolderSecurity(world.data, "D:P"));
    WIN32_FIND_DATAA found;
    HANDLE probe = FindFirstFileA((world.data + "\\*.*").c_str(), &found);
    if (probe != INVALID_HANDLE_VALUE) FindClose(probe);
    ASSERT_EQ(INVALID_HANDLE_VALUE, probe) << "this Wine reads folders its user may not read: run it as "
                                              "scripts/test does (without CAP_DAC_OVERRIDE)";
    RecordingObserver observer;
    FailureLog failures;

    DeployJob job(world.target, observer, failures);
    EXPECT_EQ(DeployJob::Readiness::SourceUnusable, job.prepare());
    EXPECT_FALSE(job.deployProductFiles());
    setFolderSecurity(world.data, "D:P(A;OICI;FA;;;WD)");
    ASSERT_EQ(1u, observer.refusals.size());
    EXPECT_EQ(Refusal::Reason::DataFolderUnreadable, observer.refusals[0].reason);
    EXPECT_EQ(world.data, observer.refusals[0].subject);
    EXPECT_FALSE(isFolder(world.target));
    EXPECT_FALSE(fileExists(world.appData + "\\Torlen"));
}

// The plug-in's module is loaded into every user's AutoCAD: no other user may change the
// folders the installer makes. A chosen folder that exists keeps its rights unless it is to be
// protected too (the front ends ask, or refuse it: the engine says others may change it); the
// plug-in's folder is secured whether new or left by an earlier installation. (Its owner, the
// Administrators when the installer runs elevated, and what the folders hold inheriting their
// entries are not read: Wine keeps a file's owner and list as the Unix owner and mode.)
TEST(DeployProductFiles, OnlyTheUserAndAdministratorsMayChangeThePluginFolder) {
    const std::string everyone = "S-1-1-0", authenticatedUsers = "S-1-5-11", users = "S-1-5-32-545";
    const DWORD write = FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | WRITE_OWNER | DELETE;
    auto othersMayWrite = [&](const std::string& path) {
        for (const std::string& entry : allowedEntries(path)) {
            std::string sid = entry.substr(0, entry.find(':'));
            DWORD mask = std::stoul(entry.substr(entry.find(':') + 1), nullptr, 16);
            if (sid == everyone || sid == authenticatedUsers || (sid == users && (mask & write))) return true;
        }
        return false;
    };
    const struct {
        const char* what;
        bool chosenExists, protectChosen;
    } cases[] = {{"both folders are new", false, false},
                 {"chosen folder and plug-in folder exist", true, false},
                 {"an existing chosen folder protected on request", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeployWorld world;
        writeFile(world.data + "\\a.dll", "a");
        const std::string chosen = world.root / "chosen", target = chosen + "\\T-DodudEdiv";
        if (c.chosenExists) {
            CreateDirectoryA(chosen.c_str(), nullptr);
            CreateDirectoryA(target.c_str(), nullptr);
            // Everyone may do anything: Wine keeps a folder's list as the Unix mode of the
            // folder, which can say no more than this about others.
            ASSERT_TRUE(setFolderSecurity(chosen, "D:P(A;OICI;FA;;;WD)"));
            ASSERT_TRUE(othersMayWrite(chosen));
        }
        std::vector<std::string> chosenBefore = allowedEntries(chosen);
        EXPECT_EQ(othersMayChange(chosen), c.chosenExists);
        RecordingObserver observer;
        FailureLog failures;
        DeployJob job(target, observer, failures);
        if (c.protectChosen) job.protectChosenFolder();
        EXPECT_TRUE(job.deployProductFiles());
        EXPECT_FALSE(othersMayWrite(target));
        EXPECT_FALSE(othersMayChange(target));
        std::vector<std::string> entries = allowedEntries(target);
        EXPECT_NE(std::find(entries.begin(), entries.end(), "S-1-5-18:1f01ff"), entries.end());
        EXPECT_TRUE(fileExists(target + "\\a.dll"));
        if (c.chosenExists && !c.protectChosen) {
            EXPECT_EQ(allowedEntries(chosen), chosenBefore);
        } else {
            EXPECT_FALSE(othersMayWrite(chosen));
            EXPECT_FALSE(othersMayChange(chosen));
        }
    }
}
