// Test fixtures for the Windows tests: a private registry (both predefined roots redirected
// to scratch keys), a fresh temporary folder, and an installation observer that records.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/EngineObserver.h"
#include "journal/Journal.h"

// Test code names registry keys where they are stored: on 64-bit Windows (and in a 64-bit Wine
// prefix) that is the 64-bit view, whatever the width of the test program, so that a 32-bit
// test program prepares and reads the same keys as a 64-bit one ("SOFTWARE\Wow6432Node\..."
// is then always the 32-bit programs' tree). On 32-bit Windows the flag is ignored. The code
// under test never uses it: it sees the registry in its own view, as it will on a user's machine.
constexpr REGSAM kStoredView = KEY_WOW64_64KEY;

// Whether this process is a 32-bit one on 64-bit Windows, whose registry view of
// HKLM\SOFTWARE is redirected to SOFTWARE\Wow6432Node wherever that key exists.
bool isWow64Process();

// Redirects HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process to two empty scratch
// keys for its lifetime; the scratch keys are deleted afterwards.
class RegistrySandbox {
   public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

   private:
    std::string scratchPath_;
    HKEY machine_ = nullptr;
    HKEY user_ = nullptr;
};

// Registry helpers; paths are relative to root.
void regSetString(HKEY root, const std::string& path, const std::string& name, const std::string& value,
                  DWORD type = REG_SZ);
// A string value written and read as UTF-16 (with its terminating zero), as AutoCAD keeps
// TRUSTEDPATHS; regReadWide gives the text up to the first zero unit.
void regSetWide(HKEY root, const std::string& path, const std::string& name, const std::wstring& value,
                DWORD type = REG_SZ);
bool regReadWide(HKEY root, const std::string& path, const std::string& name, std::wstring& text,
                 DWORD& type);
void regSetDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void regSetBinary(HKEY root, const std::string& path, const std::string& name, const std::string& bytes);
void regCreateKey(HKEY root, const std::string& path);
void regDeleteValue(HKEY root, const std::string& path, const std::string& name);
// Deletes a key with everything below it, in every view.
void regDeleteTree(HKEY root, const std::string& path);
bool regKeyExists(HKEY root, const std::string& path);
// The value's raw bytes and type; false when the key or value is missing.
bool regReadValue(HKEY root, const std::string& path, const std::string& name, std::string& bytes,
                  DWORD& type);
std::vector<std::string> regValueNames(HKEY root, const std::string& path);
// The names of the direct subkeys, sorted.
std::vector<std::string> regSubKeyNames(HKEY root, const std::string& path);

// A new empty folder below the temporary folder, removed with everything in it.
class TempFolder {
   public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

   private:
    std::string path_;
};

void removeTree(const std::string& path);
void writeFile(const std::string& path, const std::string& contents);
bool readFile(const std::string& path, std::string& contents);
// The same through the wide functions, for names outside the system code page.
void writeFile(const std::wstring& path, const std::string& contents);
bool readFile(const std::wstring& path, std::string& contents);
bool fileExists(const std::string& path);
bool isFolder(const std::string& path);
// Gives a file or folder the security descriptor of an SDDL text; false when refused.
bool setFolderSecurity(const std::string& path, const char* sddl);
// A file's or folder's owner and list of rights as SDDL text, to compare before and after.
std::string securityOf(const std::string& path);
// Gives a registry key (created when missing; path as stored) the DACL of an SDDL text.
bool setKeySecurity(HKEY root, const std::string& path, const char* sddl);
// Names of the entries of a folder, without "." and "..", sorted.
std::vector<std::string> folderEntries(const std::string& folder);

// What a run may change, as text to compare before and after it. Every key below root\path (the
// root itself when path is empty) with its values in the order the registry keeps them, each
// with its type and bytes, then its subkeys by name; and every file and folder below a folder
// with the attributes that stand in a copy's way and each file's bytes.
std::string registryExport(HKEY root, const std::string& path = std::string());
std::string folderExport(const std::string& folder);

// Makes the items through the journal as a run makes them when every failure is answered with
// Ignore (a step that fails is undone and left out, the run goes on); what failed, in order. And
// the subjects of failures.
FailureLog applyAll(Journal& journal, WorkItems items);
std::vector<std::string> subjectsOf(const FailureLog& failures);

// Stands for the person running an installation: answers failures from a script (Ignore when it
// runs out), the chosen-folder question and the running-AutoCAD one as set, and records what it
// was asked and told and the progress. A hook runs before each answer, so that a test can change
// the world in between.
class RecordingObserver : public EngineObserver {
   public:
    explicit RecordingObserver(std::deque<FailureAnswer> answers = {}) : answers_(std::move(answers)) {}
    bool goOnWhileAcadRuns() override { return goOnWhileAcadRunsAnswer; }
    bool protectChosenFolder(const std::string& folder) override {
        askedToProtect.push_back(folder);
        return protectAnswer;
    }
    FailureAnswer failed(const Failure& failure, FailureAnswer recommended) override;
    void refused(const Refusal& refusal) override { refusals.push_back(refusal); }
    void progress(std::size_t done, std::size_t total) override {
        lastDone = done;
        lastTotal = total;
        ++progressReports;
    }
    void beforeEachAnswer(void (*hook)(int index, void* context), void* context) {
        hook_ = hook;
        hookContext_ = context;
    }

    bool goOnWhileAcadRunsAnswer = false;
    bool protectAnswer = false;
    std::vector<Failure> asked;
    std::vector<FailureAnswer> recommendations;
    std::vector<Refusal> refusals;
    std::vector<std::string> askedToProtect;
    std::size_t lastDone = 0, lastTotal = 0;
    int progressReports = 0;

   private:
    std::deque<FailureAnswer> answers_;
    void (*hook_)(int, void*) = nullptr;
    void* hookContext_ = nullptr;
};
