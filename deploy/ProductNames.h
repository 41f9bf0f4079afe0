// The names of the plug-in's files, folders and keys and of the installer's own, each spelled
// here once. Pure declarations (no Windows headers).
#pragma once

// The folder below the chosen one that receives the plug-in, and the folder offered at first.
constexpr const char* kPluginFolderName = "T-DodudEdiv";
constexpr const char* kDefaultChosenFolder = "C:\\Torlen";

// Where the installation files are: a "Data" folder beside the program, or the program's own
// folder when it holds the first module of the 2010 family.
constexpr const char* kDataFolderName = "Data";
constexpr const char* kDataFolderMarker = "TL_DodudEdiv2010.arx";

// Modules "TL_DodudEdiv<year>[_32].ARX" and their keys "TL_DodudEdiv<year>[_32]"; host-side
// libraries "ACAD<year>P.dll" and their keys "Torlen<year>DLLP".
constexpr const char* kModuleStem = "TL_DodudEdiv";
constexpr const char* kModuleExtension = ".ARX";
constexpr const char* kThirtyTwoBitSuffix = "_32";
constexpr const char* kHostModulePrefix = "ACAD";
constexpr const char* kHostModuleSuffix = "P.dll";
constexpr const char* kLibraryKeyPrefix = "Torlen";
constexpr const char* kLibraryKeySuffix = "DLLP";

// The PDF library the plug-in uses; other programs ship it too.
constexpr const char* kSharedLibraryName = "itextsharp.dll";

// The settings file, and the per-user folder ("<application data>\Torlen") it goes into.
constexpr const char* kSettingsFileName = "Torlen.Ini";
constexpr const char* kUserFolderName = "Torlen";

// The plug-in's fonts, which go into the Fonts folder of every AutoCAD location.
constexpr const char* kFontsFolderName = "Fonts";
constexpr const char* kPluginFontNames[] = {"Torlen_EN.shx", "Torlen_HZ.shx"};

// AutoCAD 2008's own plot driver, which the plug-in's (shipped as Torlen.prt5) replaces, is
// kept once beside it under a name AutoCAD does not load (it loads *.hdi), to be put back.
constexpr const char* kPlotDriverSourceName = "Torlen.prt5";
constexpr const char* kPlotDriverFolderName = "Drv";
constexpr const char* kPlotDriverName = "pdfplot9.hdi";

// The installers themselves, and the log SetUp.exe keeps in the user's temporary folder.
constexpr const char* kDialogInstallerName = "SetUp.exe";
constexpr const char* kUnattendedInstallerName = "SetUpCmd.exe";
// The logon step of an installation for every user, kept in the plug-in's folder: a program
// without a window that Windows runs at each user's logon (see acad/LogonStep.h).
constexpr const char* kLogonProgramName = "TorlenUserSetup.exe";
constexpr const char* kSetupLogName = "TorlenSetup.log";

// The product's name as Windows lists it (the logon step, the installed programs).
constexpr const wchar_t* kProductDisplayName = L"T-批打印软件";
