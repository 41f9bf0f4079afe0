// How the installer removes itself when it uninstalls the plug-in from the copy kept in the
// plug-in's folder (SetUpCmd.exe run as the entry's quiet command, SetUp.exe as its uninstall
// command). No program can delete its own file while it runs, nor the folder that holds it, and a
// deployment tool waits for the program it started to learn its exit code: so the program does
// everything else, leaves its file, and, once the uninstallation has committed, hands it on to a
// copy of itself. The copy lives in a folder made for it alone below the temporary folder, under a
// name nobody can guess, made in one call with the plug-in folder's protection (only the
// administrators may change it: under SYSTEM the temporary folder is one where every user may make
// folders). It waits until the program has ended (Windows lets go of a program's file only then),
// deletes its file and the folders it kept from going, and marks its own file and folder for
// deletion at the next restart: the plug-in's folder goes at once.
#pragma once

#include <string>
#include <vector>

#include "journal/WorkItem.h"

// The switch the copy is started with, which both programs' entries take before anything else:
// the running program's process handle (inherited), its file, and the folders.
constexpr const wchar_t* kRemoveAfterExitSwitch = L"--remove-after-exit";

// The running program, and the folders its file keeps from going, handed on when the run that
// uninstalls commits (a run that stops keeps them); an item of that run alone.
class RemovalAfterExitItem : public WorkItem {
   public:
    RemovalAfterExitItem(std::string programFile, std::vector<std::string> folders);

    Failure apply() override { return {}; }
    UndoResult undo() override { return UndoResult::undone(); }
    void commit() override;
    ItemRecord record() const override;
    std::string subject() const override { return programFile_; }

    // 0, or why the copy could not be made or started (after commit).
    unsigned long error() const { return error_; }

   private:
    std::string programFile_;
    std::vector<std::string> folders_;
    unsigned long error_ = 0;
};

// The copy's run: the arguments after the program's name, the switch first; its exit code.
int finishRemovalAfterExit(const std::vector<std::wstring>& arguments);
