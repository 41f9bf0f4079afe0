// The file operations against real files: where the setup data folder is found, what a
// path is, the read-only bit and the download marker.
#include <gtest/gtest.h>

#include "DeployWorld.h"
#include "deploy/FileOperations.h"
#include "framework/ModulePath.h"

namespace {

enum Entry { None, AsFile, AsFolder };

void create(const std::string& path, Entry kind) {
    if (kind == AsFile) writeFile(path, "x");
    if (kind == AsFolder) CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

TEST(FindSetupDataFolder, DataFolderFirstThenTheModuleBesideTheExecutable) {
    struct Case {
        const char* what;
        Entry data;
        Entry module;
        bool found;
        bool inData;
    } cases[] = {
        {"Data folder wins over the module", AsFolder, AsFile, true, true},
        {"Data folder alone", AsFolder, None, true, true},
        {"module file beside the executable", None, AsFile, true, false},
        {"a file named Data does not count", AsFile, AsFile, true, false},
        {"a file named Data alone", AsFile, None, false, false},
        {"a folder named like the module does not count", None, AsFolder, false, false},
        {"neither", None, None, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder installer;
        create(installer / "Data", c.data);
        create(installer / "TL_DodudEdiv2010.arx", c.module);
        overrideModuleFilePath(installer / "SetUp.exe");
        std::string folder;
        bool found = findSetupDataFolder(folder);
        overrideModuleFilePath("");

        EXPECT_EQ(c.found, found);
        if (c.found) {
            EXPECT_EQ(c.inData ? installer / "Data" : installer.path(), folder);
        }
    }
}

TEST(FindSetupDataFolder, ExecutablePathWithoutFolderIsNotFound) {
    // The path seam gives an empty path when the real one did not fit its buffer.
    overrideModuleFilePath("SetUp.exe");
    std::string folder;
    EXPECT_FALSE(findSetupDataFolder(folder));
    overrideModuleFilePath("");
}

TEST(ProbePath, FilesFoldersAndNothing) {
    TempFolder folder;
    writeFile(folder / "file.txt", "x");
    CreateDirectoryA((folder / "empty").c_str(), nullptr);
    CreateDirectoryA((folder / "locked").c_str(), nullptr);
    SetFileAttributesA((folder / "locked").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(PathIsFile, probePath(folder / "file.txt"));
    EXPECT_EQ(PathIsFolder, probePath(folder / "empty"));
    EXPECT_EQ(PathIsFolder, probePath(folder / "locked"));
    EXPECT_EQ(PathMissing, probePath(folder / "missing"));
    EXPECT_EQ(PathMissing, probePath(folder / "missing\\deeper"));
}

TEST(ClearReadOnly, KeepsTheOtherAttributes) {
    TempFolder folder;
    std::string file = folder / "a.dll";
    writeFile(file, "x");
    // Hidden first: Wine keeps it in an extended attribute, which a read-only file refuses.
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    clearReadOnly(file);
    DWORD attributes = GetFileAttributesA(file.c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    clearReadOnly(folder / "missing");  // silent
    EXPECT_FALSE(fileExists(folder / "missing"));
}

// Wine keeps no alternate data streams: "file:Zone.Identifier" is an ordinary sibling
// file of that name there, which stands in for the marker.
TEST(RemoveZoneIdentifier, DeletesTheMarkerOnly) {
    TempFolder folder;
    std::string file = folder / "a.dll";
    writeFile(file, "contents");
    writeFile(file + ":Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");
    ASSERT_TRUE(fileExists(file + ":Zone.Identifier"));

    EXPECT_TRUE(removeZoneIdentifier(file));
    EXPECT_FALSE(fileExists(file + ":Zone.Identifier"));
    std::string contents;
    ASSERT_TRUE(readFile(file, contents));
    EXPECT_EQ("contents", contents);

    EXPECT_FALSE(removeZoneIdentifier(file));
    EXPECT_FALSE(removeZoneIdentifier(folder / "missing.dll"));
}
