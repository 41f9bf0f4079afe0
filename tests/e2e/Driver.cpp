// The end-to-end UI driver; see Driver.h.
#include "Driver.h"

#include "framework/WideText.h"

#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace e2e {

namespace {
const wchar_t* const kDialogCaption = L"T-批打印软件安装";

struct WindowSearch {
    DWORD processId;
    HWND exclude;
    HWND alsoExclude;
    HWND found;
};

bool isShownDialog(HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return IsWindowVisible(window) && lstrcmpW(className, L"#32770") == 0;
}

BOOL CALLBACK findProcessDialog(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search->processId == 0 || owner == search->processId) && window != search->exclude &&
        window != search->alsoExclude && isShownDialog(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The executable file a process runs, as Windows names it.
std::wstring processImage(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return std::wstring();
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!QueryFullProcessImageNameW(process, 0, image, &length)) length = 0;
    CloseHandle(process);
    return std::wstring(image, length);
}

// GetWindowText does not ask a control of another process for its text (an edit control
// would read as empty), so the text is requested with WM_GETTEXT.
std::wstring windowText(HWND window) {
    wchar_t buffer[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 5000,
                        &copied);
    return buffer;
}
}  // namespace

void clearAutodeskKeys() {
    regDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    regDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Autodesk");
    regDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
    regDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Torlen");
    regDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Torlen");
}

void addInstallation(const std::string& keyPath, const std::string& location,
                     const std::string& productName) {
    regSetString(HKEY_LOCAL_MACHINE, keyPath, "AcadLocation", location);
    regSetString(HKEY_LOCAL_MACHINE, keyPath, "ProductName", productName);
}

bool isWindows64() {
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

Installation addAcad(int year, int bits, const std::string& folderRoot) {
    const char* root = bits == 32 && isWindows64() ? "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\"
                                                   : "SOFTWARE\\Autodesk\\AutoCAD\\";
    std::string product = "ACAD-" + std::to_string(year) + ":804";
    Installation acad{year, bits, root + ("R" + std::to_string(year - 1990) + ".0\\") + product + "\\",
                      folderRoot + "\\AutoCAD " + std::to_string(year) + (bits == 32 ? " x86" : "")};
    addInstallation(acad.keyPath.substr(0, acad.keyPath.size() - 1), acad.folder + "\\",
                    "AutoCAD " + std::to_string(year));
    freshFolder(acad.folder + "\\Fonts");
    return acad;
}

bool editionFinds(const Installation& acad) {
    if (platformBits == 32) return acad.bits == 32;
    return acad.bits == 64 || acad.year <= 2010;
}

bool setWritable(const Installation& acad, InstallationPart part, bool writable) {
    if (part == InstallationPart::Folder)
        return setFolderSecurity(acad.folder, writable ? "D:P(A;OICI;FA;;;WD)" : "D:P(A;OICI;GRGX;;;WD)");
    return setKeySecurity(HKEY_LOCAL_MACHINE, acad.keyPath, writable ? "D:P(A;;KA;;;WD)" : "D:P(A;;KR;;;WD)");
}

void addProfile(const std::string& version, const std::string& product, const std::string& profile,
                const char* trustedPaths) {
    std::string path =
        "SOFTWARE\\Autodesk\\AutoCAD\\" + version + "\\" + product + "\\Profiles\\" + profile + "\\Variables";
    if (trustedPaths) {
        regSetString(HKEY_CURRENT_USER, path, "TRUSTEDPATHS", trustedPaths);
    } else {
        regCreateKey(HKEY_CURRENT_USER, path);
    }
}

std::string readRegString(HKEY root, const std::string& path, const std::string& name) {
    std::string bytes;
    DWORD type = REG_NONE;
    if (!regReadValue(root, path, name, bytes, type) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string("<missing>");
    return bytes.substr(0, bytes.find('\0'));
}

DWORD readRegDword(HKEY root, const std::string& path, const std::string& name) {
    std::string bytes;
    DWORD type = REG_NONE;
    if (!regReadValue(root, path, name, bytes, type) || type != REG_DWORD || bytes.size() != sizeof(DWORD))
        return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(bytes.data());
}

std::string freshFolder(const std::string& path) {
    removeTree(path);
    SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
    return path;
}

// The SetUp.exe under test, named by SETUP_EXE; a Unix path is reached through Wine's Z: drive.
std::string builtSetupExe() {
    char built[MAX_PATH] = {};
    GetEnvironmentVariableA("SETUP_EXE", built, MAX_PATH);
    std::string path = built;
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path;
}

std::string builtFolder() {
    std::string exe = builtSetupExe();
    return exe.substr(0, exe.find_last_of('\\'));
}

InstallSource prepareInstallSource(const std::string& folder, const std::vector<std::string>& dataFiles,
                                   bool withUnattended) {
    freshFolder(folder);
    InstallSource source{folder, folder + "\\SetUp.exe", folder + "\\SetUpCmd.exe"};
    CopyFileA(builtSetupExe().c_str(), source.exe.c_str(), FALSE);
    if (withUnattended) CopyFileA((builtFolder() + "\\SetUpCmd.exe").c_str(), source.cmd.c_str(), FALSE);
    CreateDirectoryA((folder + "\\Data").c_str(), nullptr);
    for (const std::string& name : dataFiles) writeFile(folder + "\\Data\\" + name, "contents of " + name);
    return source;
}

namespace {

// Keys sorted by name, then values in the order the registry keeps them, each with its type
// and bytes in hexadecimal (read as UTF-16: the narrow functions would turn characters outside
// the code page into '?').
void exportKey(HKEY root, const std::string& path, std::string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | kStoredView, &key) != ERROR_SUCCESS) return;
    text += "[" + path + "]\n";
    wchar_t name[256];
    BYTE data[4096];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256, size = sizeof data, type = REG_NONE;
        if (RegEnumValueW(key, index, name, &length, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        text += std::string(name, name + length) + " (" + std::to_string(type) + ") ";
        for (DWORD i = 0; i < size; ++i)
            text += "0123456789abcdef"[data[i] >> 4], text += "0123456789abcdef"[data[i] & 15];
        text += "\n";
    }
    RegCloseKey(key);
    for (const std::string& child : regSubKeyNames(root, path)) exportKey(root, path + "\\" + child, text);
}

void exportFolder(const std::string& folder, std::string& text) {
    for (const std::string& name : folderEntries(folder)) {
        std::string path = folder + "\\" + name, contents;
        if (isFolder(path)) {
            text += path + "\\\n";
            exportFolder(path, text);
        } else {
            readFile(path, contents);
            text += path + ": " + contents + "\n";
        }
    }
}

}  // namespace

std::string machineExport(const std::vector<std::string>& folders) {
    std::string text;
    exportKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk", text);
    exportKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Autodesk", text);
    exportKey(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk", text);
    for (const std::string& folder : folders) exportFolder(folder, text);
    return text;
}

std::wstring readUtf8File(const std::string& path) {
    std::string bytes;
    readFile(path, bytes);
    return fromUtf8(bytes);
}

namespace {
// Whether a process of that executable name is in a process snapshot: one just created is not
// always listed yet, and the installer would not see it.
bool isListed(const std::string& exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}
}  // namespace

RunningProgram::RunningProgram(const std::string& exeName) {
    std::string running = freshFolder("C:\\e2e\\procs") + "\\" + exeName;
    CopyFileA((builtFolder() + "\\acad_dummy.exe").c_str(), running.c_str(), FALSE);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + running + "\"";
    CreateProcessA(running.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &process_);
    for (int tries = 0; tries < 100 && !isListed(exeName); ++tries) Sleep(50);
}

RunningProgram::~RunningProgram() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

namespace {
// Runs a command line with standard output and error to files; application may be null (then
// the line's first token names the program).
CommandRun runProcess(const wchar_t* application, std::wstring commandLine) {
    TempFolder outputs;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    std::string outPath = outputs / "out.txt", errPath = outputs / "err.txt";
    HANDLE out =
        CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr);
    HANDLE err =
        CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    CommandRun run;
    // Not CREATE_NO_WINDOW: Wine then gives the program a console of its own in place of the
    // handles passed.
    if (CreateProcessW(application, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        // Now and then under Wine the wait ends within a second of the start and the program is
        // still running (its exit code STILL_ACTIVE, nothing in its log yet): it is waited for
        // again, a little at a time, for up to five seconds.
        for (int tries = 0; GetExitCodeProcess(process.hProcess, &run.exitCode) &&
                            run.exitCode == STILL_ACTIVE && tries < 100;
             ++tries)
            WaitForSingleObject(process.hProcess, 50);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(out);
    CloseHandle(err);
    run.out = readUtf8File(outPath);
    run.err = readUtf8File(errPath);
    return run;
}
}  // namespace

CommandRun runCommand(const std::string& exe, const std::wstring& arguments) {
    std::wstring exeWide(exe.begin(), exe.end());
    return runProcess(exeWide.c_str(), L"\"" + exeWide + L"\" " + arguments);
}

CommandRun runCommandLine(const std::wstring& commandLine) { return runProcess(nullptr, commandLine); }

UninstallDialogue uninstallThroughEntry(std::wstring command) {
    UninstallDialogue dialogue;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return dialogue;
    if (MessageBoxWindow ask = waitForMessageBox(nullptr, 10000)) {
        dialogue.question = ask.text;
        ask.press(IDYES);
        if (MessageBoxWindow done = waitForMessageBox(nullptr, 20000)) {
            dialogue.result = done.text;
            done.press(IDOK);
        }
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return dialogue;
}

bool waitUntilRemoved(const std::string& path, DWORD milliseconds) {
    for (DWORD waited = 0; GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; waited += 100) {
        if (waited >= milliseconds) return false;
        Sleep(100);
    }
    return true;
}

namespace {
// "a,b,c,d" as Windows compares Active Setup versions: four numbers in order, missing ones 0.
std::vector<unsigned long> versionFields(const std::string& text) {
    std::vector<unsigned long> fields(4, 0);
    std::size_t at = 0;
    for (unsigned long& field : fields) {
        if (at > text.size()) break;
        std::size_t comma = text.find(',', at);
        field = std::strtoul(text.substr(at, comma - at).c_str(), nullptr, 10);
        at = comma == std::string::npos ? text.size() + 1 : comma + 1;
    }
    return fields;
}

const char* const kUserRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
}  // namespace

std::string userVersionKey(const std::string& componentKey) {
    const std::string redirected = "SOFTWARE\\Wow6432Node\\";
    if (componentKey.compare(0, redirected.size(), redirected) != 0) return componentKey;
    return "SOFTWARE\\" + componentKey.substr(redirected.size()) + " (32-bit)";
}

std::vector<std::wstring> playLogon(const std::string& componentKey) {
    std::vector<std::wstring> ran;
    std::wstring stub;
    DWORD type = REG_NONE;
    const std::string machineVersion = readRegString(HKEY_LOCAL_MACHINE, componentKey, "Version");
    const std::string userVersion = readRegString(HKEY_CURRENT_USER, userVersionKey(componentKey), "Version");
    const bool installed = readRegDword(HKEY_LOCAL_MACHINE, componentKey, "IsInstalled") == 1;
    if (installed && machineVersion != "<missing>" &&
        regReadWide(HKEY_LOCAL_MACHINE, componentKey, "StubPath", stub, type) &&
        (userVersion == "<missing>" || versionFields(userVersion) < versionFields(machineVersion))) {
        runCommandLine(stub);
        ran.push_back(stub);
        regSetString(HKEY_CURRENT_USER, userVersionKey(componentKey), "Version", machineVersion);
    }
    for (const std::string& name : regValueNames(HKEY_CURRENT_USER, kUserRun)) {
        std::wstring command;
        if (!regReadWide(HKEY_CURRENT_USER, kUserRun, name, command, type)) continue;
        runCommandLine(command);
        ran.push_back(command);
    }
    return ran;
}

namespace {
bool enableRegistryPrivileges() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    bool enabled = true;
    for (const char* privilege : {"SeBackupPrivilege", "SeRestorePrivilege"}) {
        TOKEN_PRIVILEGES wanted = {};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        enabled = enabled && LookupPrivilegeValueA(nullptr, privilege, &wanted.Privileges[0].Luid) &&
                  AdjustTokenPrivileges(token, FALSE, &wanted, sizeof wanted, nullptr, nullptr) &&
                  GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return enabled;
}
}  // namespace

bool saveUserRegistry(const std::vector<std::string>& paths, const std::string& file) {
    const std::string scratch = "e2e-user-registry";
    regDeleteTree(HKEY_CURRENT_USER, scratch);
    HKEY copy = nullptr, source = nullptr;
    bool saved = enableRegistryPrivileges();
    for (const std::string& path : paths) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) continue;
        regCreateKey(HKEY_CURRENT_USER, scratch + "\\" + path);
        saved = saved &&
                RegOpenKeyExA(HKEY_CURRENT_USER, (scratch + "\\" + path).c_str(), 0, KEY_ALL_ACCESS, &copy) ==
                    ERROR_SUCCESS &&
                RegCopyTreeA(source, nullptr, copy) == ERROR_SUCCESS;
        RegCloseKey(source);
        if (copy) RegCloseKey(copy);
        copy = nullptr;
    }
    DeleteFileA(file.c_str());
    saved = saved && RegOpenKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, KEY_READ, &copy) == ERROR_SUCCESS &&
            RegSaveKeyA(copy, file.c_str(), nullptr) == ERROR_SUCCESS;
    if (copy) RegCloseKey(copy);
    regDeleteTree(HKEY_CURRENT_USER, scratch);
    return saved;
}

bool loadUserRegistry(const std::string& name, const std::string& file) {
    return enableRegistryPrivileges() && RegLoadKeyA(HKEY_USERS, name.c_str(), file.c_str()) == ERROR_SUCCESS;
}

bool unloadUserRegistry(const std::string& name) {
    return enableRegistryPrivileges() && RegUnLoadKeyA(HKEY_USERS, name.c_str()) == ERROR_SUCCESS;
}

namespace {
// The filtered twin of the driver's elevated token, or null when the driver has none.
HANDLE filteredToken() {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return nullptr;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    bool found = GetTokenInformation(own, TokenElevationType, &type, sizeof type, &size) &&
                 type == TokenElevationTypeFull &&
                 GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size);
    CloseHandle(own);
    return found ? linked.LinkedToken : nullptr;
}

struct RestartSearch {
    DWORD firstId;
    std::wstring image;
    HWND found;
    DWORD processId;
};

BOOL CALLBACK findRestartedDialog(HWND window, LPARAM context) {
    RestartSearch* search = reinterpret_cast<RestartSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->firstId || owner == GetCurrentProcessId() || !isShownDialog(window) ||
        windowText(window) != kDialogCaption ||
        lstrcmpiW(processImage(owner).c_str(), search->image.c_str()) != 0)
        return TRUE;
    search->found = window;
    search->processId = owner;
    return FALSE;
}
}  // namespace

SetupProcess::SetupProcess(const std::string& exePath, Token token) : exe_(exePath) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
    BOOL started = FALSE;
    if (token == Token::Filtered) {
        if (HANDLE filtered = filteredToken()) {
            started = CreateProcessAsUserA(filtered, exePath.c_str(), &commandLine[0], nullptr, nullptr,
                                           FALSE, 0, nullptr, folder.c_str(), &startup, &process_);
            CloseHandle(filtered);
        }
    } else {
        started = CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.c_str(), &startup, &process_);
    }
    if (!started) return;
    WaitForInputIdle(process_.hProcess, 10000);
    for (int tries = 0; tries < 200 && !dialog_; ++tries) {
        WindowSearch search{process_.dwProcessId, nullptr, nullptr, nullptr};
        EnumWindows(findProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found && windowText(search.found) == kDialogCaption) dialog_ = search.found;
        if (!dialog_) Sleep(50);
    }
}

SetupProcess::SetupProcess(RestartOf restart) : exe_(restart.first.exe_) {
    HANDLE first = restart.first.process_.hProcess;
    if (!first || WaitForSingleObject(first, 20000) != WAIT_OBJECT_0) return;
    RestartSearch search{restart.first.process_.dwProcessId, std::wstring(exe_.begin(), exe_.end()), nullptr,
                         0};
    for (int tries = 0; tries < 600 && !search.found; ++tries) {
        EnumWindows(findRestartedDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    if (!search.found) return;
    process_.dwProcessId = search.processId;
    process_.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                    FALSE, search.processId);
    dialog_ = search.found;
}

SetupProcess::~SetupProcess() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        if (process_.hThread) CloseHandle(process_.hThread);
    }
}

bool SetupProcess::checked(int id) const { return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The button's image, which SetUp.exe gives a button that has no shield of its own: Wine's
// (there BCM_SETSHIELD falls through to the default window procedure and answers 0). That image
// is the shield a user sees under Wine; Windows' buttons draw their own and have none.
bool SetupProcess::shielded(int id) const { return SendMessageW(item(id), BM_GETIMAGE, IMAGE_ICON, 0) != 0; }

std::wstring SetupProcess::text(int id) const { return windowText(item(id)); }

void SetupProcess::setText(int id, const std::wstring& text) const {
    SendMessageW(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int SetupProcess::progress() const { return static_cast<int>(SendMessageW(item(1014), PBM_GETPOS, 0, 0)); }

RECT SetupProcess::windowRect() const {
    RECT rect{};
    GetWindowRect(dialog_, &rect);
    return rect;
}

void SetupProcess::click(int id) const { PostMessageW(item(id), BM_CLICK, 0, 0); }

void SetupProcess::clickAndWait(int id) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(item(id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

void SetupProcess::settle() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

bool SetupProcess::waitForFinishPage() const {
    for (int waited = 0; waited < 20000; waited += 100) {
        settle();
        if (visible(IDOK)) return true;
        Sleep(100);
    }
    return false;
}

bool SetupProcess::waitForExit(DWORD milliseconds) {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD SetupProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void MessageBoxWindow::press(int buttonId) const {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, buttonId)));
    // Until the box is gone, a search for the next one would find it again.
    for (int waited = 0; waited < 5000 && IsWindow(window) && IsWindowVisible(window); waited += 20)
        Sleep(20);
}

MessageBoxWindow waitForMessageBox(HWND mainDialog, DWORD milliseconds, HWND alsoExclude) {
    DWORD processId = 0;
    GetWindowThreadProcessId(mainDialog, &processId);
    MessageBoxWindow box;
    for (DWORD waited = 0; waited <= milliseconds && !box; waited += 50) {
        WindowSearch search{processId, mainDialog, alsoExclude, nullptr};
        EnumWindows(findProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            box.window = search.found;
            box.caption = windowText(search.found);
            box.text = windowText(GetDlgItem(search.found, 0xFFFF));
        } else {
            Sleep(50);
        }
    }
    return box;
}

}  // namespace e2e
