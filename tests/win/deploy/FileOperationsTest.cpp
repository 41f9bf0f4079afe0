// The file operations against real files: where the setup data folder is found, what a path
// is, the read-only bit, the download marker, and the copy that brings its digest.
#include <gtest/gtest.h>

#include "DeployWorld.h"
#include "deploy/DataFolder.h"
#include "framework/Files.h"
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
        bool bareExecutable = false;  // the path seam gives no folder (the real path did not fit)
    } cases[] = {
        {"Data folder wins over the module", AsFolder, AsFile, true, true},
        {"Data folder alone", AsFolder, None, true, true},
        {"module file beside the executable", None, AsFile, true, false},
        {"a file named Data does not count", AsFile, AsFile, true, false},
        {"a file named Data alone", AsFile, None, false, false},
        {"a folder named like the module does not count", None, AsFolder, false, false},
        {"neither", None, None, false, false},
        {"an executable path without a folder", AsFolder, AsFile, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder installer;
        create(installer / "Data", c.data);
        create(installer / "TL_DodudEdiv2010.arx", c.module);
        overrideModuleFilePath(c.bareExecutable ? "SetUp.exe" : installer / "SetUp.exe");
        std::string folder;
        bool found = findSetupDataFolder(folder);
        overrideModuleFilePath("");

        EXPECT_EQ(c.found, found);
        if (c.found) {
            EXPECT_EQ(c.inData ? installer / "Data" : installer.path(), folder);
        }
    }
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

// The copy the installation makes of each file: the source's bytes, the digest of what was
// written (the digest of "abc" is SHA-256's published one), an ordinary writable file without
// the source's download marker, and nothing left behind when it fails, also for a file of several chunks.
TEST(CopyWithDigest, WritesAnOrdinaryFileAndItsDigest) {
    std::string chunks(2 * (1 << 20) + 4099, 'a');
    for (std::size_t i = 0; i < chunks.size(); i += 7) chunks[i] = static_cast<char>('b' + i % 23);
    const struct {
        const char* what;
        const char* contents;  // null: no source
        DWORD sourceAttributes, destinationAttributes;
        bool destinationIsFolder, destinationHeld;
        unsigned long error;
    } cases[] = {
        {"a plain copy", "abc", 0, 0, false, false, ERROR_SUCCESS},
        {"an empty file", "", 0, 0, false, false, ERROR_SUCCESS},
        {"three chunks", chunks.c_str(), 0, 0, false, false, ERROR_SUCCESS},
        {"a read-only source with a download marker", "abc", FILE_ATTRIBUTE_READONLY, 0, false, false,
         ERROR_SUCCESS},
        {"over a read-only, hidden, system file", "abc", 0,
         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false, false,
         ERROR_SUCCESS},
        {"no source", nullptr, 0, 0, false, false, ERROR_FILE_NOT_FOUND},
        {"a folder in the way", "abc", 0, 0, true, false, ERROR_ACCESS_DENIED},
        {"a destination another program holds", "abc", 0, 0, false, true, ERROR_SHARING_VIOLATION},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string source = folder / "source.dll", copy = folder / "copy.dll";
        if (c.contents) {
            writeFile(source, c.contents);
            writeFile(source + ":Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");
            if (c.sourceAttributes) SetFileAttributesA(source.c_str(), c.sourceAttributes);
        }
        if (c.destinationIsFolder) CreateDirectoryA(copy.c_str(), nullptr);
        if (c.destinationAttributes || c.destinationHeld) writeFile(copy, "earlier");
        if (c.destinationAttributes) {
            // Hidden first: Wine keeps it in an extended attribute, which a read-only file refuses.
            SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_HIDDEN);
            SetFileAttributesA(copy.c_str(), c.destinationAttributes);
        }
        HANDLE held = c.destinationHeld
                          ? CreateFileA(copy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                          : INVALID_HANDLE_VALUE;
        std::string digest = "unchanged";
        EXPECT_EQ(copyWithDigest(source, copy, digest), c.error);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        if (c.error != ERROR_SUCCESS) {
            EXPECT_EQ(digest, "unchanged");
            EXPECT_EQ(probePath(copy), c.destinationIsFolder ? PathIsFolder
                                       : c.destinationHeld   ? PathIsFile
                                                             : PathMissing);
            continue;
        }
        std::string copied;
        ASSERT_TRUE(readFile(copy, copied));
        EXPECT_EQ(copied, c.contents);
        EXPECT_EQ(digest, digestOf(copy).text);
        if (copied == "abc") {
            EXPECT_EQ(digest, "3 ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        }
        EXPECT_EQ(GetFileAttributesA(copy.c_str()) &
                      (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
                  0u);
        EXPECT_FALSE(fileExists(copy + ":Zone.Identifier"));
        EXPECT_EQ(GetFileAttributesA(source.c_str()) & FILE_ATTRIBUTE_READONLY, c.sourceAttributes);
    }
}
