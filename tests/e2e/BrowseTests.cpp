// End to end: the Browse button opens the folder picker and fills the path field.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"
#include "ui/ReleaseControls.h"

using namespace e2e;

namespace {
const int kPickerPathLine = 14148;

class BrowseTest : public ::testing::Test {
   protected:
    void SetUp() override {
        clearAutodeskKeys();
        addInstallation("SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804", "C:\\e2e\\acad\\AutoCAD 2010\\",
                        "AutoCAD 2010");
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

TEST_F(BrowseTest, AcceptedFolderFillsThePathField) {
    freshFolder("C:\\e2e\\picked");
    SetupProcess setup(source_.exe);
    ASSERT_TRUE(setup.dialogFound());
    // With nothing ticked, Install stays disabled after the picker.
    setup.clickAndWait(kReleaseBoxIds[2010 - 2007]);
    MessageBoxWindow picker = openPicker(setup);
    ASSERT_TRUE(picker);
    HWND pathLine = GetDlgItem(picker.window, kPickerPathLine);
    ASSERT_NE(pathLine, nullptr);
    SendMessageW(pathLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\e2e\\picked"));
    PostMessageW(GetDlgItem(picker.window, IDOK), BM_CLICK, 0, 0);
    for (int waited = 0; waited < 5000 && IsWindow(picker.window); waited += 50) Sleep(50);
    setup.settle();
    EXPECT_EQ(setup.text(IDC_INSTALL_PATH), L"C:\\e2e\\picked");
    EXPECT_FALSE(setup.enabled(IDC_INSTALL));
    setup.clickAndWait(kReleaseBoxIds[2010 - 2007]);
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
