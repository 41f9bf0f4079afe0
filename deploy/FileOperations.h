// Small file-system operations the deployment rests on: finding the setup data folder,
// telling files from folders, clearing the read-only bit, removing the download marker,
// copying over an existing file, and storing a folder path without its trailing backslash.
#pragma once

#include <string>

enum PathKind {
    PathMissing = 0,
    PathIsFile = 1,
    PathIsFolder = 2,
};

// Clears FILE_ATTRIBUTE_READONLY and keeps every other attribute; silent on failure.
void clearReadOnly(std::string path);

// What the first match of the path (as a search pattern) is.
PathKind probePath(std::string path);

// Deletes the ":Zone.Identifier" stream Windows attaches to downloaded files; true when
// it was there and is gone.
bool removeZoneIdentifier(std::string filePath);

// The executable's folder followed by "\Data" when that is a folder, else the executable's
// folder when it holds the file TL_DodudEdiv2010.arx. False when there is neither (the
// installation files were probably not unpacked); the caller tells whoever runs it.
bool findSetupDataFolder(std::string& folder);
// The folder a front end names (less a trailing backslash) when it is one, else, when none
// is named, the setup data folder beside the program; false when neither is there.
bool locateSetupDataFolder(const std::string& named, std::string& folder);

// Copies over an existing destination, as every copy of the installation does: first the
// attributes that make such a copy fail are cleared (read-only; hidden and system, which
// Windows will not replace by a plain file), and the copy is left writable (a source on a CD
// is read-only, and every later installation would fail on it) and without the download
// marker it took along (CopyFile copies alternate data streams). Gives 0 when copied, else
// the Windows error code.
unsigned long copyOver(const std::string& source, const std::string& destination);

// The parent of the per-user folder: "APPDATA" when it is set and usable, else the shell's
// roaming application-data folder; empty when neither can be determined.
std::string userAppDataFolder();

// 0 when a file that exists can be opened for writing as a copy over it will (any sharing
// refused), else the Windows error: another program holds it (ERROR_SHARING_VIOLATION), or a
// folder is in its place (ERROR_ACCESS_DENIED). A missing file, and a read-only, hidden or
// system one (copyOver makes it writable first), count as free.
unsigned long openForCopyError(const std::string& path);

// The file's version from its version resource, as
// (major << 48 | minor << 32 | build << 16 | revision); 0 when it has none.
unsigned long long fileVersionOf(const std::string& path);

// Whether both files can be read and hold the same bytes.
bool sameContents(const std::string& onePath, const std::string& otherPath);

// target = path, less one trailing backslash.
void assignFolderPath(std::string& target, std::string path);
