// The deployment into the target folder; see DeployJob.h.
#include "deploy/DeployJob.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallFolders.h"
#include "deploy/InstallRecord.h"
#include "framework/Handles.h"
#include "framework/SystemCodePage.h"

DeployJob::DeployJob(std::string targetFolder, InstallObserver& observer, FailureLog& failures,
                     std::string namedDataFolder, InstallRecorder* recorder)
    : observer(observer), failures(failures), namedDataFolder(std::move(namedDataFolder)), recorder(recorder) {
    assignFolderPath(this->targetFolder, std::move(targetFolder));
}

DeployJob::Readiness DeployJob::prepare() {
    preparedOnce = true;
    if (!locateSetupDataFolder(namedDataFolder, dataFolder)) {
        observer.refused({Refusal::Reason::DataFolderMissing, namedDataFolder, ERROR_PATH_NOT_FOUND});
        readiness = Readiness::SourceUnusable;
    } else if (!listDataFolder()) {
        readiness = Readiness::SourceUnusable;
    } else {
        readiness = pathsFit() ? Readiness::Ready : Readiness::PathTooLong;
    }
    return readiness;
}

// Every entry, however many there are; a folder that cannot be listed is not an empty one.
bool DeployJob::listDataFolder() {
    std::string pattern = path::join(dataFolder, "*.*");
    WIN32_FIND_DATAA found;
    FindHandle listing(path::fitsLimit(pattern, isSystemLeadByte) ? FindFirstFileA(pattern.c_str(), &found)
                                                                  : INVALID_HANDLE_VALUE);
    if (!listing.valid()) {
        observer.refused({Refusal::Reason::DataFolderUnreadable, dataFolder, GetLastError()});
        return false;
    }
    entries.clear();
    do {
        entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(listing.get(), &found));
    // A listing that ends on anything but its end (a network folder gone, a damaged disk) is
    // not the whole folder.
    if (DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) {
        observer.refused({Refusal::Reason::DataFolderUnreadable, dataFolder, error});
        return false;
    }
    return true;
}

// The narrow file functions fail on longer paths, after some files were copied and with a
// message that blames AutoCAD or the user's rights: every path is measured first.
bool DeployJob::pathsFit() {
    std::vector<PlannedPath> paths = {{path::folderOf(targetFolder, isSystemLeadByte), true},
                                      {targetFolder, true}};
    std::string appData = userAppDataFolder();
    for (const Entry& entry : entries) {
        EntryAction action = entryAction(entry.name, entry.isFolder);
        if (action == EntryAction::Skip) continue;
        paths.push_back({path::join(dataFolder, entry.name), false});
        if (action == EntryAction::CopyToTarget) {
            paths.push_back({path::join(targetFolder, entry.name), false});
        } else if (!appData.empty() && userFolder) {
            paths.push_back({userSettingsFolder(appData), true});
            paths.push_back({userSettingsPath(appData, entry.name), false});
        }
    }
    std::string longest = longestOverlongPath(paths, isSystemLeadByte);
    if (longest.empty()) return true;
    observer.refused({Refusal::Reason::PathTooLong, longest, ERROR_FILENAME_EXCED_RANGE});
    return false;
}

bool DeployJob::deployProductFiles() {
    if (!preparedOnce) prepare();
    if (readiness != Readiness::Ready || !destinationsFree()) return false;
    InstallFolders folders = createInstallFolders(targetFolder, protectChosen);
    changed = folders.createdChosen || folders.createdTarget;
    if (recorder && folders.createdChosen) recorder->folder(path::folderOf(targetFolder, isSystemLeadByte));
    if (recorder && folders.createdTarget) recorder->folder(targetFolder);
    if (folders.error != ERROR_SUCCESS) {
        observer.refused({folders.refusal, folders.subject, folders.error});
        return false;
    }
    // One step per entry, "." and ".." and skipped ones included, and one for the closing
    // pass that finds no further entry.
    for (const Entry& entry : entries) {
        observer.step();
        if (!deployEntry(entry)) return false;
    }
    observer.step();
    return true;
}

// A file already in the target folder that another program holds open (AutoCAD loads the
// plug-in's modules from there) would stop the copies half-way, leaving an installation of two
// builds: each is asked about before anything is changed. Opened for writing as the copy will;
// a read-only, hidden or system file is made writable by the copy, so its sharing alone counts.
bool DeployJob::destinationsFree() {
    for (const Entry& entry : entries) {
        if (entryAction(entry.name, entry.isFolder) != EntryAction::CopyToTarget) continue;
        const std::string destination = path::join(targetFolder, entry.name);
        bool abort = false;
        for (unsigned long error = openForCopyError(destination); error != ERROR_SUCCESS;
             error = openForCopyError(destination)) {
            if (!askAgain({Failure::Action::Copy, destination, error}, abort)) {
                if (!abort) leftOut.push_back(entry.name);
                break;
            }
        }
        if (abort) return false;
    }
    return true;
}

// One entry of the walk; false when the deployment must stop.
bool DeployJob::deployEntry(const Entry& entry) {
    EntryAction action = entryAction(entry.name, entry.isFolder);
    if (action == EntryAction::Skip) return true;
    for (const std::string& name : leftOut)
        if (name == entry.name) return true;
    std::string source = path::join(dataFolder, entry.name);
    if (action == EntryAction::CopyToUserFolder) return !userFolder || copySettingsFile(source, entry.name);
    return copyProductFile(source, path::join(targetFolder, entry.name));
}

// The settings file goes to the per-user folder (created on the way). When that folder
// cannot be determined, the file can be left out like any file that cannot be copied.
bool DeployJob::copySettingsFile(const std::string& source, const std::string& name) {
    bool abort = false;
    do {
        std::string appData = userAppDataFolder();
        if (!appData.empty()) {
            CreateDirectoryA(userSettingsFolder(appData).c_str(), nullptr);
            // The user's settings are theirs: uninstall takes them away only when told to
            // (SetUpCmd uninstall --purge), so they are not in the record.
            return copyProductFile(source, userSettingsPath(appData, name), false);
        }
    } while (askAgain({Failure::Action::FindUserFolder, name, ERROR_PATH_NOT_FOUND}, abort));
    return !abort;
}

bool DeployJob::copyProductFile(const std::string& source, const std::string& destination, bool record) {
    clearReadOnly(source);
    removeZoneIdentifier(source);  // before the copy, so the copy does not take the marker along
    bool abort = false, copied = true;
    for (unsigned long error = copyOver(source, destination); error != ERROR_SUCCESS;
         error = copyOver(source, destination)) {
        copied = false;
        if (!askAgain({Failure::Action::Copy, destination, error}, abort)) break;
        copied = true;
    }
    clearReadOnly(destination);  // an old file left by Ignore is not left read-only either
    if (copied && !abort) {
        changed = true;
        if (recorder && record) recorder->file(destination);
    }
    return !abort;
}

bool DeployJob::askAgain(const Failure& failure, bool& abort) {
    switch (observer.copyFailed(failure)) {
        case InstallObserver::CopyAnswer::Retry:
            return true;
        case InstallObserver::CopyAnswer::Abort:
            abort = true;
            return false;
        case InstallObserver::CopyAnswer::Ignore:
            failures.push_back(failure);
            return false;
    }
    return false;
}
