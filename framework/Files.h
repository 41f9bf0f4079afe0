// Small file-system operations the installer rests on: telling files from folders, a copy that
// brings the digest of what it wrote (an ordinary file, without the source's attributes and
// streams), digests, file versions and whether a file is free to be replaced. Narrow paths
// in the system code page, as the engine keeps them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

enum PathKind {
    PathMissing = 0,
    PathIsFile = 1,
    PathIsFolder = 2,
};

// What the first match of the path (as a search pattern) is; for a name without wildcards, what is
// there.
PathKind probePath(std::string path);

// A file's digest as the installation's record keeps it: "<size> <SHA-256 in hexadecimal>".
struct FileDigest {
    std::string text;         // empty when the file could not be read
    unsigned long error = 0;  // why not (ERROR_SHARING_VIOLATION: another program holds it)
};
FileDigest digestOf(const std::string& path);
// The digest of what an open file holds from where it is read next (opened with FILE_READ_DATA).
FileDigest digestOf(HANDLE file);

// Copies source to destination in one read of the source, over whatever is at the destination
// (a read-only, hidden or system file there is made writable first, as Windows will not replace
// it otherwise). The copy is an ordinary writable file with the source's time of last change and
// nothing else of it: not its read-only bit (a source on a CD is read-only, and every later
// installation would fail on it), not its streams (the download marker stays behind). digest
// receives the copy's digest, of the bytes written. 0, or the Windows error (then nothing is left
// at the destination, and digest is as it was).
unsigned long copyWithDigest(const std::string& source, const std::string& destination, std::string& digest);
// The same for bytes held in memory (a program the installer carries as a resource).
unsigned long writeWithDigest(const void* bytes, std::size_t size, const std::string& destination,
                              std::string& digest);

// 0 when a file that exists can be opened for writing as a copy over it will (any sharing
// refused), else the Windows error: another program holds it (ERROR_SHARING_VIOLATION), or a
// folder is in its place (ERROR_ACCESS_DENIED). A missing file, and a read-only, hidden or
// system one (the copy makes it writable first), count as free.
unsigned long openForCopyError(const std::string& path);

// The file's version from its version resource, as
// (major << 48 | minor << 32 | build << 16 | revision); 0 when it has none.
unsigned long long fileVersionOf(const std::string& path);

// Whether both files can be read and hold the same bytes.
bool sameContents(const std::string& onePath, const std::string& otherPath);

// Whether a Windows error says that another program holds the file open (AutoCAD, a virus
// scanner): a cause the user can remove, and one that may pass by itself.
bool isHeldByAnotherProgram(unsigned long error);
