// End to end: the setup dialog as the user first sees it, for registries prepared per test.
#include <gtest/gtest.h>

#include <algorithm>

#include "Driver.h"
#include "framework/BuildConstants.h"
#include "res/resource.h"

using namespace e2e;

namespace {

class SetupDialogTest : public ::testing::Test {
   protected:
    void SetUp() override {
        clearAutodeskKeys();
        removeTree("C:\\Torlen");
    }
    void TearDown() override { clearAutodeskKeys(); }

    // Registers an AutoCAD of the given year, of the width this edition serves unless given.
    static Installation install(int year, int bits = platformBits) {
        return addAcad(year, bits, "C:\\e2e\\dialog-acad");
    }

    static InstallSource source() {
        return prepareInstallSource("C:\\e2e\\dialog", {"TL_DodudEdiv2010.arx", "Torlen.Ini"});
    }
};

// What a release box must look like: found releases ticked and enabled, the others
// disabled and unticked; the 32 edition hides the ten newest.
void expectReleaseBoxes(const SetupProcess& setup, const std::vector<int>& foundYears) {
    for (int year = 2007; year <= 2026; ++year) {
        int id = releaseBox(year);
        bool found = std::find(foundYears.begin(), foundYears.end(), year) != foundYears.end();
        bool offered = platformBits == 64 || year < kFirstReleaseOnlyIn64;
        SCOPED_TRACE("AutoCAD " + std::to_string(year));
        EXPECT_EQ(setup.visible(id), offered);
        EXPECT_EQ(setup.enabled(id), found);
        EXPECT_EQ(setup.checked(id), found && offered);
    }
}

}  // namespace

TEST_F(SetupDialogTest, NoReleaseFoundOffersNothingAndShowsTheBuildCaptions) {
    SetupProcess setup(source().exe);
    ASSERT_TRUE(setup.dialogFound());
    expectReleaseBoxes(setup, {});
    EXPECT_FALSE(setup.enabled(IDC_INSTALL));
    EXPECT_EQ(setup.text(IDC_TITLE), L"批打印软件 V2026.01.01");
    EXPECT_EQ(setup.text(IDC_PLATFORM), platformBits == 32 ? L"( 32位 AutoCAD版 )" : L"( 64位 AutoCAD版 )");
    EXPECT_EQ(setup.text(IDC_INSTALL_PATH), L"C:\\Torlen");
    // The selection page: path row shown; progress, finish text, picture and close button hidden.
    for (int id : {IDC_PATH_LABEL, IDC_INSTALL_PATH, IDC_BROWSE, IDC_INSTALL, IDCANCEL, IDC_COMPONENTS_LABEL})
        EXPECT_TRUE(setup.visible(id)) << id;
    for (int id : {IDC_PROGRESS, IDC_FINISH_TEXT, IDC_FINISH_PICTURE, IDOK})
        EXPECT_FALSE(setup.visible(id)) << id;
    setup.click(IDCANCEL);
    EXPECT_TRUE(setup.waitForExit(5000));
}

TEST_F(SetupDialogTest, FoundReleasesAreTickedAndEnableInstall) {
    // 32-bit AutoCAD 2009 and 2012, and AutoCAD 2014 in the machine's own width. The 32 edition
    // finds the 32-bit ones, under WOW64 through redirection; the 64 edition finds the 64-bit
    // ones and, below Wow6432Node, the 32-bit ones up to 2010.
    install(2009, 32);
    install(2012, 32);
    install(2014, isWindows64() ? 64 : 32);
    std::vector<int> found = platformBits == 64 ? std::vector<int>{2009, 2014}
                             : isWindows64()    ? std::vector<int>{2009, 2012}
                                                : std::vector<int>{2009, 2012, 2014};
    SetupProcess setup(source().exe);
    ASSERT_TRUE(setup.dialogFound());
    expectReleaseBoxes(setup, found);
    EXPECT_TRUE(setup.enabled(IDC_INSTALL));
}

TEST_F(SetupDialogTest, NewestReleasesFollowTheEdition) {
    install(2018);
    install(2026);
    SetupProcess setup(source().exe);
    ASSERT_TRUE(setup.dialogFound());
    expectReleaseBoxes(setup, {2018, 2026});
    // The 32 edition cannot install for releases it does not offer.
    EXPECT_EQ(setup.enabled(IDC_INSTALL), platformBits == 64);
}

TEST_F(SetupDialogTest, InstallFollowsTheTicks) {
    install(2010);
    install(2014);
    SetupProcess setup(source().exe);
    ASSERT_TRUE(setup.dialogFound());
    const int box2010 = releaseBox(2010);
    const int box2014 = releaseBox(2014);
    setup.clickAndWait(box2010);
    EXPECT_TRUE(setup.enabled(IDC_INSTALL));
    setup.clickAndWait(box2014);
    EXPECT_FALSE(setup.checked(box2014));
    EXPECT_FALSE(setup.enabled(IDC_INSTALL));
    setup.clickAndWait(box2014);
    EXPECT_TRUE(setup.enabled(IDC_INSTALL));
}

TEST_F(SetupDialogTest, CancelEndsTheProgramWithoutChanges) {
    Installation acad2010 = install(2010);
    SetupProcess setup(source().exe);
    ASSERT_TRUE(setup.dialogFound());
    setup.click(IDCANCEL);
    ASSERT_TRUE(setup.waitForExit(5000));
    EXPECT_FALSE(isFolder("C:\\Torlen\\T-DodudEdiv"));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, acad2010.keyPath + "Applications"));
}
