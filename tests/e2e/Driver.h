// The UI driver of the end-to-end tests: prepares the machine (registry, folders), starts
// the real SetUp.exe under Wine, finds its dialog, reads and clicks its controls, and
// answers its message boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/BuildConstants.h"
#include "support/Sandbox.h"  // registry and file helpers shared with the Windows tests

namespace e2e {

// The release check boxes of the dialog, AutoCAD 2007 first (2010 and 2011 are out of
// order), and the first of the releases the 32 edition hides (2017).
constexpr int kReleaseBox[20] = {1018, 1019, 1020, 1027, 1026, 1028, 1029, 1030, 1031, 1032,
                                 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042};
inline int releaseBox(int year) { return kReleaseBox[year - 2007]; }
constexpr int kFirstReleaseOnlyIn64 = 2017;

// --- machine preparation -------------------------------------------------------------
// Registry paths are named as they are stored (see kStoredView): the driver of the 32 edition
// is an i686 program, and its keys land where a 64-bit one's do.
// Removes every AutoCAD key the installer reads or writes, in both roots and views, and the
// record of what an earlier test installed.
void clearAutodeskKeys();
// Records an installation below HKEY_LOCAL_MACHINE: the product key at keyPath (relative
// to HKLM, e.g. "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804") with the values
// "AcadLocation" and "ProductName".
void addInstallation(const std::string& keyPath, const std::string& location, const std::string& productName);

// Whether this (Wine) machine is 64-bit Windows.
bool isWindows64();

// An AutoCAD installation as its own installer registers it on this machine: a 32-bit
// AutoCAD on 64-bit Windows below SOFTWARE\\Wow6432Node, any other in the native tree.
struct Installation {
    int year;
    int bits;             // the AutoCAD's own width, 32 or 64
    std::string keyPath;  // below HKLM as stored, with its trailing backslash
    std::string folder;   // without trailing backslash; created with its Fonts folder
};
Installation addAcad(int year, int bits, const std::string& folderRoot);
// An AutoCAD of the width this edition serves.
inline Installation addEditionAcad(int year, const std::string& folderRoot) {
    return addAcad(year, platformBits, folderRoot);
}
// What a user without administrator rights may not change of an installation: its product key
// below HKEY_LOCAL_MACHINE or its folder. Taken away with a security descriptor that lets
// everyone read only (Wine's access checks treat all its tokens alike), given back with one
// that allows everyone everything; false when Windows refused.
enum class InstallationPart { ProductKey, Folder };
bool setWritable(const Installation& acad, InstallationPart part, bool writable);
// Whether this edition finds it: the 32 edition every 32-bit AutoCAD (under WOW64 through
// redirection); the 64 edition every 64-bit AutoCAD and the 32-bit ones up to 2010, which it
// reads below Wow6432Node.
bool editionFinds(const Installation& acad);
// Adds a user profile "Variables" key below HKEY_CURRENT_USER, optionally with TRUSTEDPATHS.
void addProfile(const std::string& version, const std::string& product, const std::string& profile,
                const char* trustedPaths);
std::string readRegString(HKEY root, const std::string& path, const std::string& name);
DWORD readRegDword(HKEY root, const std::string& path, const std::string& name);
// A Windows path below the Wine drive C: that is removed first and created empty.
std::string freshFolder(const std::string& path);

// A folder laid out as the installer is shipped: SetUp.exe and SetUpCmd.exe beside a Data
// folder.
struct InstallSource {
    std::string folder;
    std::string exe;
    std::string cmd;
};
std::string builtSetupExe();
// The build folder of SetUp.exe, which holds the other programs of the tree.
std::string builtFolder();
// Without the unattended one, SetUp.exe is shipped alone beside its Data folder.
InstallSource prepareInstallSource(const std::string& folder, const std::vector<std::string>& dataFiles,
                                   bool withUnattended = true);

// What an installation may change, as text to compare: the Autodesk keys below
// HKEY_LOCAL_MACHINE (both roots) and HKEY_CURRENT_USER with every value, and every file below
// the folders with its contents.
std::string machineExport(const std::vector<std::string>& folders);
// A UTF-8 text file (a log) as UTF-16; empty when missing.
std::wstring readUtf8File(const std::string& path);

// A process named like AutoCAD's (a copy of the do-nothing tool), running for the object's life.
class RunningProgram {
   public:
    explicit RunningProgram(const std::string& exeName);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

   private:
    PROCESS_INFORMATION process_{};
};

// --- the unattended installer ----------------------------------------------------------
// One run of SetUpCmd.exe: its exit code and what it wrote (UTF-8) to standard output and error.
struct CommandRun {
    DWORD exitCode = STILL_ACTIVE;
    std::wstring out;
    std::wstring err;
};
CommandRun runCommand(const std::string& exe, const std::wstring& arguments);
// A whole command line run as Windows runs a registered command (Active Setup's StubPath, a Run
// value): the program is the line's first token, as CreateProcess parses it.
CommandRun runCommandLine(const std::wstring& commandLine);

// Runs the uninstall command of a Programs and Features entry as Windows does (a window
// program), answers its question with Yes and gives the question and the message that ends it
// (empty texts when a box did not come); waits for the program to end.
struct UninstallDialogue {
    std::wstring question;
    std::wstring result;
};
UninstallDialogue uninstallThroughEntry(std::wstring command);

// Waits up to the time given for a file or folder to be gone; false when it is still there.
bool waitUntilRemoved(const std::string& path, DWORD milliseconds);

// --- logons ----------------------------------------------------------------------------
// Plays the current user's logon as Windows does, for one Active Setup component (its key below
// HKEY_LOCAL_MACHINE as stored): the component's StubPath runs when it is installed and the
// version the user recorded is missing or lower than the component's, and the version is recorded
// whatever the exit code; then every value of the user's Run key runs. Each command is waited
// for. Gives the command lines run, in order.
std::vector<std::wstring> playLogon(const std::string& componentKey);
// Where playLogon keeps the user's record of a component's version: the component's own path
// below HKEY_CURRENT_USER, as Windows keeps it for a 64-bit component. Windows keeps a 32-bit
// component's record below the user's SOFTWARE\Wow6432Node; but once that key exists, Wine sends
// every 32-bit program's HKEY_CURRENT_USER\SOFTWARE there (Windows does not), so the record of a
// component below Wow6432Node is kept beside the 64-bit one, its name followed by " (32-bit)".
std::string userVersionKey(const std::string& componentKey);

// --- other users' registries -------------------------------------------------------------
// Saves keys of the current user's registry (paths below HKEY_CURRENT_USER) into a registry file
// as a user's NTUSER.DAT, in Wine's own file format (RegSaveKey of a key that holds copies of
// them). False when refused.
bool saveUserRegistry(const std::vector<std::string>& paths, const std::string& file);
// Loads a registry file below HKEY_USERS, as Windows does for a user who logs on, and unloads
// it. Both need the backup and restore privileges, which these enable.
bool loadUserRegistry(const std::string& name, const std::string& file);
bool unloadUserRegistry(const std::string& name);

// --- the running installer -------------------------------------------------------------
// The token SetUp.exe is started with. Wine gives a program started from Linux (this driver) an
// elevated token with a filtered twin (TokenLinkedToken), as Windows gives an administrator who
// chose "Run as administrator"; a plain double-click under User Account Control gets the
// filtered one.
enum class Token { Elevated, Filtered };

// Names the instance that started another elevated (with the "runas" verb).
class SetupProcess;
struct RestartOf {
    const SetupProcess& first;
};

class SetupProcess {
   public:
    explicit SetupProcess(const std::string& exePath, Token token = Token::Elevated);
    // Waits for the first instance to end, then finds the dialog of the one it started: another
    // process of the same executable file.
    explicit SetupProcess(RestartOf restart);
    ~SetupProcess();
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    bool dialogFound() const { return dialog_ != nullptr; }
    HWND dialog() const { return dialog_; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    bool visible(int id) const { return IsWindowVisible(item(id)) != 0; }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != 0; }
    bool checked(int id) const;
    // Whether the button carries the shield of a command that asks for administrator rights.
    bool shielded(int id) const;
    std::wstring text(int id) const;
    void setText(int id, const std::wstring& text) const;
    int progress() const;
    RECT windowRect() const;

    // Posts a click, so that a modal box the click opens does not block the driver.
    void click(int id) const;
    // Clicks and returns when the click has been handled; only for clicks that open nothing.
    void clickAndWait(int id) const;
    // Waits until the dialog's thread answers a sent message (posted ones may still wait).
    void settle() const;

    // Waits up to 20 s for the finish page (its close button).
    bool waitForFinishPage() const;
    bool waitForExit(DWORD milliseconds);
    DWORD exitCode() const;

   private:
    PROCESS_INFORMATION process_{};
    std::string exe_;
    HWND dialog_ = nullptr;
};

// A message box (or any other dialog) of the installer's process other than the main one.
struct MessageBoxWindow {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    explicit operator bool() const { return window != nullptr; }
    // Presses a button by its command id (IDOK, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO) and
    // waits until the box has closed.
    void press(int buttonId) const;
};
// A second window to pass over (such as the open folder picker, when its messages are awaited).
// Without a main dialog, a box of any process.
MessageBoxWindow waitForMessageBox(HWND mainDialog, DWORD milliseconds = 5000, HWND alsoExclude = nullptr);

}  // namespace e2e
