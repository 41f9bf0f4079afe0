// What could not be done, and what stops a run before it changes anything. The engine shows
// nothing and asks no one: it keeps each failure with its Windows error, and each front end
// says it in its own words.
#pragma once

#include <string>
#include <vector>

// One thing that could not be done: what was attempted, on what, and the Windows error code
// that said why.
struct Failure {
    enum class Action {
        None,               // nothing failed (error 0)
        Copy,               // copying a file into the plug-in's or the per-user folder (the path)
        CopyToAcadFolder,   // copying a file into an AutoCAD installation folder (the path)
        FindUserFolder,     // finding the per-user folder for the file named
        KeepOriginal,       // keeping AutoCAD's own file (the path) before replacing it, or putting it back
        MakeFolder,         // making a folder (the path)
        ProtectFolder,      // giving a folder the plug-in folder's protection (the path)
        OpenKey,            // opening a registry key (the path, starting with its root key's name)
        WriteKey,           // creating a key and writing its values, or deleting it
        EditList,           // editing a value that holds a list (the key path and value name)
        Remove,             // removing a file the plug-in put there (the path)
        KeepChanged,        // a file changed since it was installed is kept (the path); no error
        ProgramsEntry,      // listing the installation in Programs and Features (the entry's key)
        LogonRegistration,  // registering the logon step with Windows for every user (its key)
        Restore,            // putting back what a stopped run had replaced (the path or key)
        Refused,            // an item of a user's record that an administrator's run does not act on
    };
    Action action = Action::None;
    std::string subject;      // a file path, or a registry key path starting with its root key's name
    unsigned long error = 0;  // the Windows error code; 0 when there was none

    bool failed() const { return error != 0; }
};
using FailureLog = std::vector<Failure>;

// What whoever runs the installation answers about a failure: stop and put everything back,
// try again, or go on without it.
enum class FailureAnswer { Abort, Retry, Ignore };

// What stops a run before it changes anything.
struct Refusal {
    enum class Reason {
        AcadRunning,                 // AutoCAD runs (subject empty)
        AnotherInstaller,            // another SetUp.exe or SetUpCmd.exe holds the installation lock
        FolderEmpty,                 // no chosen folder (nothing, or a lone backslash)
        FolderInvalid,               // the chosen folder (subject) is not a full, valid folder path
        FolderListSeparator,         // the chosen folder (subject) holds a ';'
        NothingToInstall,            // no AutoCAD of the releases asked for was found
        DataFolderMissing,           // no setup data folder (subject: the one named, or empty)
        DataFolderUnreadable,        // the setup data folder (subject) cannot be listed whole
        PathTooLong,                 // the longest path (subject) that Windows cannot take
        RightsMissing,               // this process may not write the key or folder (subject)
        ChosenFolderUnsafe,          // the chosen folder (subject) others may change, not to be protected
        ChosenFolderNotProtectable,  // the chosen folder (subject) must never get the plug-in's rights
        UnsafeAncestor,              // a folder above the plug-in's (subject) others may change
        FolderUnprotected,           // a folder (subject) could not be given its protected security
        ReparsePoint,                // a folder on the way (subject) is a link to another place
        HeldFile,                    // a file to replace (subject) is held by another program: stopped
        Aborted,                     // the answer to a failure (on subject) was to stop
        OtherEditionsFolder,         // the other edition's installation is in this folder (subject)
        InstalledElsewhere,          // a package would take over an installation in another folder (subject)
        OwnedByNewerPackage,         // a newer Windows Installer package owns the installation (subject)
        NothingPending,              // no run waits for its package's commit (commit, rollback)
    };
    Reason reason;
    std::string subject;
    unsigned long error = 0;
    // ChosenFolderNotProtectable: why (see FolderSafetyRules); 0 otherwise.
    int detail = 0;
};
