// How the installation engine reaches whoever runs it. The engine shows nothing and asks no
// one: it reports its progress, asks what to do about a failed copy and tells what stops it
// through this interface, and keeps what it could not do, with the cause, in a failure log.
// SetUp.exe answers with its progress bar and message boxes; other front ends otherwise.
#pragma once

#include <string>
#include <vector>

// One thing the installation could not do: what was attempted, on what, and the Windows
// error code that said why.
struct Failure {
    enum class Action {
        Copy,              // copying a file into the target or the per-user folder (the path)
        CopyToAcadFolder,  // copying a file into an AutoCAD installation folder (the path)
        FindUserFolder,    // finding the per-user folder for the file named
        KeepOriginal,      // keeping AutoCAD's own file (the path) before replacing it
        OpenKey,           // opening a registry key (the path, below its root key)
        WriteKey,          // creating a key and writing its values
        EditList,          // editing a value that holds a list (the key path and value name)
        Remove,            // removing a file the plug-in put there, when uninstalling (the path)
        KeepChanged,       // uninstall left a file changed since it was installed (the path)
        ProgramsEntry,     // listing the installation in Programs and Features (the entry's key)
    };
    Action action;
    std::string subject;  // a file path, or a registry key path starting with its root key's name
    unsigned long error;  // the Windows error code; 0 when there was none
};
using FailureLog = std::vector<Failure>;

// Whether a Windows error says that another program holds the file open (AutoCAD, a virus
// scanner): a cause the user can remove, and one that may pass by itself.
bool isHeldByAnotherProgram(unsigned long error);

// What stops the installation before anything is written.
struct Refusal {
    enum class Reason {
        DataFolderMissing,     // no setup data folder beside the program (subject empty)
        DataFolderUnreadable,  // the setup data folder (subject) cannot be listed
        PathTooLong,           // the longest path (subject) that Windows cannot take
        FolderUnprotected,     // the plug-in's folder (subject) could not be given its security
        ReparsePoint,          // the chosen or the plug-in's folder (subject) is a link to another place
    };
    Reason reason;
    std::string subject;
    unsigned long error;
};

// What the checks before an installation found (Installation::prepare).
enum class InstallReadiness {
    Ready,
    PathTooLong,     // a path the deployment would create or write is too long for Windows
    SourceUnusable,  // no setup data folder, or it cannot be listed
};

class InstallObserver {
   public:
    enum class CopyAnswer { Abort, Retry, Ignore };

    // One step of the installation's progress.
    virtual void step() = 0;
    // A copy into the target or the per-user folder failed: stop, try again, or go on without.
    virtual CopyAnswer copyFailed(const Failure& failure) = 0;
    // Why the installation cannot go on.
    virtual void refused(const Refusal& refusal) = 0;

   protected:
    ~InstallObserver() = default;
};
