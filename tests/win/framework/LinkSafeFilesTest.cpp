// Link-safe file steps against Wine's real files. Wine 8 makes no junctions or symbolic links
// (CreateSymbolicLink reports success and makes nothing), so a link here is a hard link; the
// decisions about reparse points are the pure rules' and the Windows code's alone. Wine keeps
// a file's security as its Unix mode: a changed mode reads back as a changed list of entries.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/LinkSafeFiles.h"
#include "framework/SystemCodePage.h"
#include "support/Sandbox.h"

using foldersafety::Entry;
using foldersafety::EntryKind;

namespace {

// Korean names, which code page 936 cannot spell: 도면 (drawing), 설정 (settings). Escaped:
// the assertion macros quote their arguments in narrow strings of code page 936.
const std::wstring kDrawing = L"\uB3C4\uBA74", kSettings = L"\uC124\uC815";

const char* const kPluginFolderSddl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// A file's or folder's owner and DACL as SDDL text, as Wine derives them from the Unix mode.
std::string securityText(const std::string& path) {
    DWORD size = 0;
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    GetFileSecurityA(path.c_str(), what, nullptr, 0, &size);
    std::vector<char> descriptor(size);
    char* text = nullptr;
    if (size == 0 || !GetFileSecurityA(path.c_str(), what, descriptor.data(), size, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1, what, &text,
                                                              nullptr))
        return "unreadable";
    std::string result = text;
    LocalFree(text);
    return result;
}

std::vector<std::pair<std::wstring, EntryKind>> sortedEntries(const std::wstring& folder) {
    std::vector<Entry> entries;
    EXPECT_TRUE(listEntries(folder, entries).ok());
    std::vector<std::pair<std::wstring, EntryKind>> named;
    for (const Entry& entry : entries) named.emplace_back(entry.name, entry.kind);
    std::sort(named.begin(), named.end());
    return named;
}

// A plug-in folder left with a hard link to a file outside it, at two depths, beside a name
// that code page 936 cannot spell. Resetting what it holds deletes the links as themselves:
// the outside file keeps its bytes, its mode and its one remaining name; the rest is kept,
// readable, whatever its name.
TEST(ResetContents, DeletesHardLinksWithoutTouchingTheirFileAndKeepsNamesOutsideTheCodePage) {
    TempFolder root;
    const std::string outside = root / "outside.dll", plugin = root / "T-DodudEdiv";
    const std::wstring widePlugin = widenFromSystemCodePage(plugin),
                       drawing = widePlugin + L"\\" + kDrawing + L".txt";
    writeFile(outside, "outside bytes");
    ASSERT_TRUE(setFolderSecurity(outside, "D:P(A;;FA;;;WD)"));
    const std::string outsideSecurity = securityText(outside);
    ASSERT_TRUE(CreateDirectoryA(plugin.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((plugin + "\\Fonts").c_str(), nullptr));
    ASSERT_TRUE(CreateHardLinkA((plugin + "\\linked.dll").c_str(), outside.c_str(), nullptr));
    ASSERT_TRUE(CreateHardLinkA((plugin + "\\Fonts\\deep.shx").c_str(), outside.c_str(), nullptr));
    writeFile(plugin + "\\Fonts\\Torlen_HZ.shx", "font");
    writeFile(drawing, "drawing");
    ASSERT_TRUE(setFolderSecurity(plugin, kPluginFolderSddl));
    using Named = std::vector<std::pair<std::wstring, EntryKind>>;
    PinnedFolder folder;
    ASSERT_EQ(folder.open(widePlugin), 0ul);
    FileStep step = resetContentsToInherit(folder);

    EXPECT_EQ(step.error, 0ul) << std::string(step.subject.begin(), step.subject.end());
    EXPECT_EQ(sortedEntries(widePlugin),
              (Named{{L"Fonts", EntryKind::Folder}, {kDrawing + L".txt", EntryKind::File}}));
    EXPECT_EQ(sortedEntries(widePlugin + L"\\Fonts"), (Named{{L"Torlen_HZ.shx", EntryKind::File}}));
    std::string contents;
    EXPECT_TRUE(readFile(drawing, contents) && contents == "drawing");
    EXPECT_TRUE(readFile(outside, contents) && contents == "outside bytes");
    EXPECT_EQ(securityText(outside), outsideSecurity);
    EXPECT_EQ(sortedEntries(widenFromSystemCodePage(root.path())),
              (Named{{L"T-DodudEdiv", EntryKind::Folder}, {L"outside.dll", EntryKind::File}}));
}

// A log or a user's settings file is opened and removed only as an ordinary file with one
// name, below folders pinned from the drive root down; a hard link in its place is refused and
// left, and so is the file it shares; a missing folder or one that is a file is named.
TEST(UnfollowedFile, OnlyAnOrdinaryFileWithOneNameIsOpenedOrRemoved) {
    TempFolder root;
    const std::string outside = root / "outside.ini";
    writeFile(outside, "outside bytes");
    const std::wstring base = widenFromSystemCodePage(root.path()) + L"\\";
    const struct {
        std::wstring name, subject;  // the subject of the refusal
        bool hardLink;
        unsigned long error;
    } cases[] = {
        {L"TorlenSetup.log", L"", false, 0},
        {kSettings + L".ini", L"", false, 0},
        {L"Torlen.Ini", L"Torlen.Ini", true, kOtherNamesRefused},
        {L"missing\\Torlen.Ini", L"missing", false, ERROR_PATH_NOT_FOUND},
        {L"outside.ini\\Torlen.Ini", L"outside.ini", false, ERROR_DIRECTORY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        const std::wstring path = base + c.name, subject = c.subject.empty() ? L"" : base + c.subject;
        if (c.hardLink) {
            ASSERT_TRUE(CreateHardLinkW(path.c_str(), widenFromSystemCodePage(outside).c_str(), nullptr));
        }
        UnfollowedFile file;
        FileStep opened = openUnfollowed(path, GENERIC_WRITE, true, file);
        EXPECT_EQ(opened.error, c.error);
        EXPECT_EQ(opened.subject, subject);
        DWORD written = 0;
        EXPECT_EQ(opened.ok() && WriteFile(file.file.get(), "log", 3, &written, nullptr), c.error == 0);
        file = UnfollowedFile();
        FileStep removed = removeUnfollowed(path);
        EXPECT_EQ(removed.error, c.error);
        EXPECT_EQ(removed.subject, subject);
        EXPECT_EQ(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES, c.hardLink);
        std::string contents;
        EXPECT_TRUE(readFile(outside, contents) && contents == "outside bytes");
    }
}

}  // namespace
