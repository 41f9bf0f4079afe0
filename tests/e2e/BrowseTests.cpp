// End to end: the Browse button opens the folder picker and fills the path field.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

using namespace e2e;

namespace {
const int kPickerPathLine = 14148;

class BrowseTest : public ::testing::Test {
   protected:
    void SetUp() override {
        clearAutodeskKeys();
        addEditionAcad(2010, "C:\\e2e\\acad");
        source_ = prepareInstallSource("C:\\e2e\\browse", {"TL_DodudEdiv2010.ARX"});
    }
    void TearDown() override { clearAutodeskKeys(); }

    // Clicks Browse and gives the picker window, with its caption checked.
    static MessageBoxWindow openPicker(SetupProcess& setup) {
        setup.click(IDC_BROWSE);
        MessageBoxWindow picker = waitForMessageBox(setup.dialog());
        EXPECT_EQ(picker.caption, L"请选择安装目录：");
        for (int waited = 0; waited < 5000 && !GetDlgItem(picker.window, kPickerPathLine); waited += 50)
            Sleep(50);
        return picker;
    }

    InstallSource source_;
};
}  // namespace

// The picker as the real program runs it (for the 32 edition: its callbacks and subclassed
// browser in the i686 build): an invalid typed path is refused and the browser stays open; a
// missing folder is created after the question; the path field shows it.
TEST_F(BrowseTest, TypedFolderIsCheckedCreatedAndFillsThePathField) {
    removeTree("C:\\e2e\\picked");
    SetupProcess setup(source_.exe);
    ASSERT_TRUE(setup.dialogFound());
    // With nothing ticked, Install stays disabled after the picker.
    setup.clickAndWait(releaseBox(2010));
    MessageBoxWindow picker = openPicker(setup);
    ASSERT_TRUE(picker);
    HWND pathLine = GetDlgItem(picker.window, kPickerPathLine);
    ASSERT_NE(pathLine, nullptr);
    const struct {
        const wchar_t* typed;
        const wchar_t* message;  // the start of the picker's answer
        int press;
    } steps[] = {{L"C:\\e2e\\bad?name", L"The folder:\n\nC:\\e2e\\bad?name\n\nis invalid", IDOK},
                 {L"C:\\e2e\\picked\\new", L"The folder:\n\nC:\\e2e\\picked\\new\n\ndoes not exist", IDYES}};
    for (const auto& step : steps) {
        SendMessageW(pathLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.typed));
        PostMessageW(GetDlgItem(picker.window, IDOK), BM_CLICK, 0, 0);
        MessageBoxWindow message = waitForMessageBox(setup.dialog(), 5000, picker.window);
        ASSERT_TRUE(message) << step.typed;
        EXPECT_EQ(message.caption, L"SetUp");
        EXPECT_EQ(message.text.rfind(step.message, 0), 0u) << message.text;
        message.press(step.press);
    }
    for (int waited = 0; waited < 5000 && IsWindow(picker.window); waited += 50) Sleep(50);
    setup.settle();
    EXPECT_FALSE(IsWindow(picker.window));
    EXPECT_FALSE(isFolder("C:\\e2e\\bad?name"));
    EXPECT_TRUE(isFolder("C:\\e2e\\picked\\new"));
    EXPECT_EQ(setup.text(IDC_INSTALL_PATH), L"C:\\e2e\\picked\\new");
    EXPECT_FALSE(setup.enabled(IDC_INSTALL));
    setup.clickAndWait(releaseBox(2010));
    EXPECT_TRUE(setup.enabled(IDC_INSTALL));
}

TEST_F(BrowseTest, CancelledPickerKeepsTheTypedPath) {
    SetupProcess setup(source_.exe);
    ASSERT_TRUE(setup.dialogFound());
    setup.setText(IDC_INSTALL_PATH, L"D:\\typed before browse");
    MessageBoxWindow picker = openPicker(setup);
    ASSERT_TRUE(picker);
    picker.press(IDCANCEL);
    for (int waited = 0; waited < 5000 && IsWindow(picker.window); waited += 50) Sleep(50);
    setup.settle();
    EXPECT_EQ(setup.text(IDC_INSTALL_PATH), L"D:\\typed before browse");
    EXPECT_TRUE(setup.enabled(IDC_INSTALL));
}
