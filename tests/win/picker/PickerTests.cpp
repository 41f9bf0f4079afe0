// The folder picker end to end, in the real shell browser under Wine: opening, the path
// line and the OK button, acceptance, level-by-level creation and the refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/Application.h"
#include "framework/NarrowString.h"
#include "picker/BrowserDriver.h"
#include "support/Sandbox.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/PathDialog.h"

namespace {

const wchar_t* const kCaption = L"请选择安装目录：";

// A path of the test (code page 936) as the picker shows it.
std::wstring wide(const std::string& text) {
    std::wstring converted(text.size(), L'\0');
    int length = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), &converted[0],
                                     static_cast<int>(converted.size()));
    converted.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return converted;
}
constexpr int kTitle = 14146;
constexpr int kStatusText = 14147;
constexpr int kFolderTree = 14145;
constexpr UINT kAskStyle = MB_YESNO | MB_ICONQUESTION;
constexpr UINT kErrorStyle = MB_OK | MB_ICONEXCLAMATION;

std::wstring asked(const std::string& path) {
    return L"The folder:\n\n" + wide(path) + L"\n\ndoes not exist. Do you want the folder to be created?";
}
std::wstring invalid(const std::string& path) {
    return L"The folder:\n\n" + wide(path) + L"\n\nis invalid. Please reenter.";
}
std::wstring cannotCreate(const std::string& path) {
    return L"The folder:\n\n" + wide(path) + L"\n\ncan not be created. Please double check.";
}

// A drive letter that Wine does not map (checked, not assumed).
std::string absentDrive() {
    DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        if (!(drives & (1u << (letter - 'A'))) && GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR)
            return root;
    }
    return "";
}

TEST(FolderPicker, OpensWithCaptionTitleInitialFolderAndPathLineAboveTree) {
    TempFolder temp;
    std::string initial = temp / "初始";
    CreateDirectoryA(initial.c_str(), nullptr);
    // A folder made more than two seconds ago (one DOS time-stamp step) is one that Wine 8's
    // browser fails to select: the picker must still show it in the path line.
    Sleep(2100);
    CPathDialog picker(kCaption, L"标题文字", initial.c_str(), nullptr);
    CPathDialog::Result result = runPicker(picker, kCaption, [&](BrowserDriver& browser) {
        EXPECT_TRUE(narrow::equalsIgnoreCase(browser.lineText(), initial)) << browser.lineText();
        // The tree shows it too where the shell finds it (Wine 8 does not always).
        if (!browser.selectedTreeText().empty()) {
            EXPECT_EQ(browser.selectedTreeText(), "初始");
        }
        EXPECT_TRUE(browser.okEnabled());
        EXPECT_EQ(CWnd::windowText(browser.item(kTitle)), L"标题文字");
        EXPECT_FALSE(IsWindowVisible(browser.item(kStatusText)));

        HWND line = browser.item(CPathDialog::IDC_PATH_EDIT);
        EXPECT_EQ(GetWindowLongA(line, GWL_STYLE) & 0x50010080, 0x50010080);
        EXPECT_TRUE(GetWindowLongA(line, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_EQ(SendMessageA(line, WM_GETFONT, 0, 0), SendMessageA(browser.window(), WM_GETFONT, 0, 0));
        RECT lineRect, treeRect;
        GetWindowRect(line, &lineRect);
        GetWindowRect(browser.item(kFolderTree), &treeRect);
        EXPECT_EQ(lineRect.top, treeRect.top - 27);
        EXPECT_EQ(lineRect.bottom, treeRect.top - 4);
        EXPECT_EQ(lineRect.left, treeRect.left);
        EXPECT_EQ(lineRect.right, treeRect.right);

        // For a screenshot of the open browser: PICKER_HOLD_MS=5000 keeps it open a while.
        if (const char* hold = std::getenv("PICKER_HOLD_MS")) Sleep(std::atoi(hold));
    });
    EXPECT_EQ(result, CPathDialog::Result::NotAccepted);
}

TEST(FolderPicker, OkIsEnabledExactlyWhenThePathLineHasText) {
    TempFolder temp;
    CPathDialog picker(kCaption, nullptr, temp.path().c_str(), nullptr);
    runPicker(picker, kCaption, [&](BrowserDriver& browser) {
        for (const char* text : {"", "C", "", "D:\\anything", ""}) {
            browser.typeLine(text);
            EXPECT_EQ(browser.okEnabled(), *text != '\0') << '"' << text << '"';
        }
        // Picking in the tree: a folder fills the line, a virtual item (My Computer) empties
        // it. Wine's own BFFM_ENABLEOK after each selection judges the item by itself (the
        // Desktop, which has a path, is not a file-system item to Wine) and must not win.
        int withPath = 0, withoutPath = 0;
        auto pick = [&](HTREEITEM entry) {
            browser.selectTreeItem(entry);
            EXPECT_TRUE(browser.okFollowsLine()) << browser.selectedTreeText() << ": " << browser.lineText();
            (browser.lineText().empty() ? withoutPath : withPath)++;
        };
        HTREEITEM desktop = browser.treeChildren(nullptr)[0];
        for (HTREEITEM top : browser.treeChildren(desktop)) {
            for (HTREEITEM entry : browser.treeChildren(top)) pick(entry);
            pick(top);
        }
        pick(desktop);
        EXPECT_GT(withPath, 0);
        EXPECT_GT(withoutPath, 0);
    });
}

TEST(FolderPicker, ExistingFolderIsAcceptedWithoutQuestion) {
    TempFolder temp;
    for (const std::string& path : {std::string("C:\\"), temp.path()}) {
        ScriptedMessageBoxes boxes;
        CPathDialog picker(kCaption, nullptr, nullptr, nullptr);
        CPathDialog::Result result = runPicker(picker, kCaption, [&](BrowserDriver& browser) {
            browser.typeLine(path);
            browser.clickOk();
            EXPECT_FALSE(browser.isOpen());
        });
        EXPECT_EQ(result, CPathDialog::Result::Accepted) << path;
        EXPECT_EQ(picker.GetSelectedPath(), path);
        EXPECT_TRUE(boxes.shown().empty()) << path;
    }
}

TEST(FolderPicker, MissingNestedPathAsksOnceAndCreatesEveryLevel) {
    TempFolder temp;
    // 乗 is 81 5C in code page 936: its trail byte is a backslash, and it stays one name.
    std::string path = temp / "新建\\乗\\億 sub";
    ScriptedMessageBoxes boxes({IDYES});
    CPathDialog picker(kCaption, nullptr, temp.path().c_str(), nullptr);
    CPathDialog::Result result = runPicker(picker, kCaption, [&](BrowserDriver& browser) {
        browser.typeLine(path);
        browser.clickOk();
    });
    EXPECT_EQ(result, CPathDialog::Result::Accepted);
    EXPECT_EQ(picker.GetSelectedPath(), path);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, asked(path));
    EXPECT_EQ(boxes.shown()[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes.shown()[0].style, kAskStyle);
    EXPECT_TRUE(isFolder(temp / "新建"));
    EXPECT_TRUE(isFolder(temp / "新建\\乗"));
    EXPECT_TRUE(isFolder(path));
    // Never split inside the character: one folder 乗, nothing named after its lead byte.
    EXPECT_EQ(folderEntries(temp / "新建"), std::vector<std::string>{"乗"});
}

// Each refused path leaves the browser open with the focus back in the path line.
struct Refusal {
    std::string path;
    std::deque<int> answers;
    std::vector<std::wstring> messages;
};

void expectRefusals(const std::vector<Refusal>& refusals) {
    ScriptedMessageBoxes boxes;
    CPathDialog picker(kCaption, nullptr, nullptr, nullptr);
    HWND browserWindow = nullptr;
    CPathDialog::Result result = runPicker(picker, kCaption, [&](BrowserDriver& browser) {
        browserWindow = browser.window();
        std::size_t seen = 0;
        for (const Refusal& refusal : refusals) {
            for (int answer : refusal.answers) boxes.answer(answer);
            browser.typeLine(refusal.path);
            browser.clickOk();
            std::vector<std::wstring> texts;
            for (; seen < boxes.shown().size(); ++seen) texts.push_back(boxes.shown()[seen].text);
            EXPECT_EQ(texts, refusal.messages) << refusal.path;
            EXPECT_TRUE(browser.isOpen()) << refusal.path;
            EXPECT_TRUE(browser.focusInLine()) << refusal.path;
        }
    });
    EXPECT_EQ(result, CPathDialog::Result::NotAccepted);
    for (const ScriptedMessageBoxes::Shown& box : boxes.shown()) {
        EXPECT_EQ(box.caption, AfxGetAppName());
        EXPECT_EQ(box.owner, browserWindow);  // the box blocks the browser, not just its owner
        EXPECT_EQ(box.style,
                  box.text.find(L"does not exist") != std::wstring::npos ? kAskStyle : kErrorStyle);
    }
}

TEST(FolderPicker, MalformedPathsAreInvalidAndCreateNothing) {
    TempFolder temp;
    std::vector<Refusal> refusals;
    for (const std::string& path : {
             temp / "",  // trailing backslash
             temp / "\\a", temp / "a\\\\b", std::string("relative\\path"), std::string("C:relative"),
             std::string("\\\\server\\share"), temp / "a?b", temp / "a:b", temp / "a|b", temp / "a*b",
             temp / "a\"b", temp / "a<b", temp / ".hidden", temp / "name.", temp / " lead",
             temp / "trail \\x", temp / "ok\\\t",
             temp / std::string(300, 'a'),  // longer than the picker's buffer
         }) {
        refusals.push_back({path, {}, {invalid(path)}});
    }
    // A valid name for Windows, but AutoCAD's trusted-folder list cannot hold it.
    const std::string semicolon = temp / "a;b";
    refusals.push_back({semicolon,
                        {},
                        {L"文件夹 " + wide(semicolon) +
                         L" 含有分号（;）!\n\nAutoCAD "
                         L"的受信任位置以分号分隔，无法信任这样的文件夹，请选择不含分号的文件夹。"}});
    expectRefusals(refusals);
    EXPECT_TRUE(folderEntries(temp.path()).empty());
}

TEST(FolderPicker, UncreatableOrDeclinedFoldersKeepTheBrowserOpen) {
    TempFolder temp;
    std::string drive = absentDrive();
    ASSERT_FALSE(drive.empty()) << "every drive letter Q..Y is mapped";
    writeFile(temp / "file.txt", "not a folder");
    expectRefusals({
        {temp / "declined", {IDNO}, {asked(temp / "declined")}},
        {drive, {IDYES}, {asked(drive), cannotCreate(drive)}},
        {drive + "new\\sub", {IDYES}, {asked(drive + "new\\sub"), cannotCreate(drive + "new\\sub")}},
        // A file is no folder to install into: it cannot become one.
        {temp / "file.txt", {IDYES}, {asked(temp / "file.txt"), cannotCreate(temp / "file.txt")}},
        {temp / "file.txt\\sub",
         {IDYES},
         {asked(temp / "file.txt\\sub"), cannotCreate(temp / "file.txt\\sub")}},
    });
    EXPECT_FALSE(isFolder(temp / "declined"));
    EXPECT_TRUE(fileExists(temp / "file.txt"));
}

}  // namespace
