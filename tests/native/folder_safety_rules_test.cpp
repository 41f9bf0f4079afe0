// Folder safety rules: the folders a path names, which chosen folder may get the plug-in
// folder's protection, and who besides the administrators may change a folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/FolderSafetyRules.h"

using namespace foldersafety;

namespace {

TEST(FolderChain, NamesEveryLevelFromTheRootAndRefusesNamesThatStandForOthers) {
    const struct {
        std::wstring path;
        std::vector<std::wstring> levels;  // empty: refused
    } cases[] = {
        {L"D:", {L"D:\\"}},    {L"d:/Tools\\도면\\", {L"d:\\", L"d:\\Tools", L"d:\\Tools\\도면"}},
        {L"D:Tools", {}},  // relative to the current folder of D
        {L"\\\\?\\D:\\x", {}}, {L"D:\\a\\..\\b", {}},
        {L"C:\\Windows.", {}},  // Windows would open C:\Windows
        {L"D:\\a:stream", {}}, {L"D:\\con .log", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> levels{L"left over"};
        EXPECT_EQ(folderChain(c.path, levels), !c.levels.empty())
            << std::string(c.path.begin(), c.path.end());
        EXPECT_EQ(levels, c.levels) << std::string(c.path.begin(), c.path.end());
    }
}

TEST(ProtectChosenFolder, OnlyAnEmptyFolderOrOneHoldingThePluginFolderOutsideSystemAndProfiles) {
    const KnownFolders known{
        L"C:\\Windows",
        {L"C:\\Program Files", L"C:\\Program Files (x86)", L"C:\\ProgramData", L"C:\\Users"},
        {L"C:\\Users\\bob", L"D:\\Profiles\\ann"}};
    const Entry plugin{L"T-DodudEdiv", EntryKind::Folder};
    const struct {
        std::wstring chosen;
        std::vector<Entry> contents;
        ProtectVerdict verdict;
    } cases[] = {
        {L"D:\\Torlen", {}, ProtectVerdict::Allowed},
        {L"C:\\Program Files\\Torlen", {{L"t-dodudediv", EntryKind::Folder}}, ProtectVerdict::Allowed},
        {L"D:", {plugin}, ProtectVerdict::DriveRoot},
        {L"c:\\WINDOWS", {}, ProtectVerdict::SystemFolder},
        {L"C:\\Windows\\Temp\\empty", {}, ProtectVerdict::SystemFolder},
        {L"C:\\Users", {}, ProtectVerdict::SystemFolder},
        {L"C:\\Users\\Bob", {}, ProtectVerdict::ProfileFolder},
        {L"D:\\Profiles", {}, ProtectVerdict::ProfileFolder},
        {L"D:\\Torlen", {plugin, {L"a.dll", EntryKind::File}}, ProtectVerdict::HoldsOtherEntries},
        {L"D:\\Torlen", {{L"T-DodudEdiv", EntryKind::Link}}, ProtectVerdict::HoldsOtherEntries},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mayProtectChosenFolder(c.chosen, c.contents, L"T-DodudEdiv", known), c.verdict)
            << std::string(c.chosen.begin(), c.chosen.end());
}

// Who may change a folder on the way to the module that every user's AutoCAD loads.
TEST(OthersMayChange, OnlyAdministratorsMayReplaceTheWayToTheModuleOrWriteBesideIt) {
    const std::string system = "S-1-5-18", admins = "S-1-5-32-544", users = "S-1-5-32-545",
                      authenticated = "S-1-5-11", user = "S-1-5-21-1-2-3-1001",
                      trustedInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    const std::uint32_t full = 0x1f01ff, modify = 0x1301bf, readExecute = 0x1200a9, addSubfolder = 0x4;
    const std::uint32_t genericAll = 0x10000000, genericWrite = 0x40000000, deleteChild = 0x40;
    const std::vector<AccessEntry> pluginList = {
        {system, full, false}, {admins, full, false}, {users, readExecute, false}};
    // The drive root of Windows 10: Authenticated Users may create folders in it and modify
    // what they create (an entry that only passes on).
    std::vector<AccessEntry> driveRoot = pluginList;
    driveRoot.insert(driveRoot.end(), {{authenticated, modify, true}, {authenticated, addSubfolder, false}});
    const struct {
        const char* what;
        std::string owner;
        std::vector<AccessEntry> entries;
        bool ancestor, plugin;  // the answer in either role
    } cases[] = {
        {"the plug-in folder's list", admins, pluginList, false, false},
        {"the drive root", trustedInstaller, driveRoot, false, true},
        {"a folder below the root, inheriting modify", admins, {{authenticated, modify, false}}, true, true},
        {"a user owns it", user, pluginList, true, true},
        {"users may delete what it holds", system, {{users, deleteChild, false}}, true, true},
        {"users may write files in it", admins, {{users, genericWrite, false}}, false, true},
        {"owner stand-ins", admins, {{"S-1-3-0", genericAll, true}, {"S-1-3-4", full, false}}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(othersMayChange(c.owner, c.entries, FolderRole::Ancestor), c.ancestor) << c.what;
        EXPECT_EQ(othersMayChange(c.owner, c.entries, FolderRole::PluginFolder), c.plugin) << c.what;
    }
    // The account an elevated run runs as is an administrator's: its own folder is no other's.
    EXPECT_FALSE(othersMayChange(user, {{user, full, false}}, FolderRole::PluginFolder, user));
    EXPECT_TRUE(
        othersMayChange(user, {{user, full, false}}, FolderRole::PluginFolder, "S-1-5-21-1-2-3-1002"));
}

}  // namespace
