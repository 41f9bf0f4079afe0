// End to end: a DLL planted beside a downloaded SetUp.exe under a system library's name is
// never loaded; the same DLL beside a program that has not restricted its search is.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

using namespace e2e;

namespace {
// Libraries the installer comes to load: the common controls by its own call, the shell's
// helpers through shell32 and its folder browser. Wine takes a copy from the program's
// folder for the last three when nothing stops it (the control below shows it).
const char* const kPlantedNames[] = {"comctl32.dll", "shcore.dll", "propsys.dll", "userenv.dll"};
}  // namespace

TEST(DllHardening, PlantedSystemLibraryIsNotLoaded) {
    InstallSource source = prepareInstallSource("C:\\e2e\\downloads", {"TL_DodudEdiv2010.ARX"});
    std::string probe = source.folder + "\\probe.exe";
    ASSERT_TRUE(CopyFileA((builtFolder() + "\\dll_probe.exe").c_str(), probe.c_str(), FALSE));
    for (const char* name : kPlantedNames) {
        std::string planted = source.folder + "\\" + name;
        ASSERT_TRUE(CopyFileA((builtFolder() + "\\planted.dll").c_str(), planted.c_str(), FALSE)) << name;
    }
    {
        SetupProcess setup(source.exe);
        ASSERT_TRUE(setup.dialogFound());
        setup.click(IDC_BROWSE);  // the shell's folder browser loads more libraries
        MessageBoxWindow picker = waitForMessageBox(setup.dialog());
        EXPECT_TRUE(picker);
    }
    for (const char* name : kPlantedNames)
        EXPECT_FALSE(fileExists(source.folder + "\\" + name + ".loaded")) << name;

    // The control: an unprotected program in the same folder does load the planted copy, so
    // the check above would see a load if one happened.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + probe + "\" shcore.dll";
    ASSERT_TRUE(CreateProcessA(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               source.folder.c_str(), &startup, &process));
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_TRUE(fileExists(source.folder + "\\shcore.dll.loaded"));
}
