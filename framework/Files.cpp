// File operations; see Files.h.
#include "framework/Files.h"

#include <windows.h>

#include <vector>

#include "framework/DllSearch.h"
#include "framework/Handles.h"
#include "framework/Sha256.h"

namespace {

const DWORD kBlockingAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// Large enough that a file of a few megabytes is read in a handful of calls.
const DWORD kChunk = 1 << 20;

// One buffer of kChunk bytes per thread, kept: a megabyte allocated anew for each file is new
// memory for the system to map and clear each time, which costs more than the copy of a small
// file (several times the copy under Wine).
char* chunkBuffer() {
    thread_local std::vector<char> buffer(kChunk);
    return buffer.data();
}

std::string digestText(unsigned long long size, Sha256& hash) {
    return std::to_string(size) + " " + hash.finishHex();
}

// Opens a destination anew for writing, after clearing what would make Windows refuse it.
HANDLE createDestination(const std::string& destination) {
    DWORD attributes = GetFileAttributesA(destination.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kBlockingAttributes) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        SetFileAttributesA(destination.c_str(), attributes & ~kBlockingAttributes);
    return CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool writeAll(HANDLE file, const void* bytes, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, bytes, size, &written, nullptr) && written == size;
}

// A copy that failed half-way leaves nothing behind.
unsigned long failed(HANDLE& destination, const std::string& path) {
    unsigned long error = GetLastError();
    CloseHandle(destination);
    destination = INVALID_HANDLE_VALUE;
    DeleteFileA(path.c_str());
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

}  // namespace

PathKind probePath(std::string path) {
    // An exact name is looked up by its attributes, in one call: a search opens and reads the
    // folder (a quarter of a millisecond under Wine, once per file of the plug-in). A pattern, and
    // a path ending in a separator (a search finds nothing there), are searched as before.
    const char last = path.empty() ? '\\' : path.back();
    if (path.find_first_of("*?") == std::string::npos && last != '\\' && last != '/' && last != ':') {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return PathMissing;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathIsFolder : PathIsFile;
    }
    WIN32_FIND_DATAA match;
    FindHandle search(FindFirstFileA(path.c_str(), &match));
    if (!search.valid()) return PathMissing;
    return (match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathIsFolder : PathIsFile;
}

FileDigest digestOf(const std::string& path) {
    KernelHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) {
        FileDigest digest;
        digest.error = GetLastError();
        return digest;
    }
    return digestOf(file.get());
}

FileDigest digestOf(HANDLE file) {
    FileDigest digest;
    char* buffer = chunkBuffer();
    Sha256 hash;
    unsigned long long size = 0;
    for (DWORD got = 0;;) {
        if (!ReadFile(file, buffer, kChunk, &got, nullptr)) {
            digest.error = GetLastError();
            return digest;
        }
        if (got == 0) break;
        hash.update(buffer, got);
        size += got;
    }
    digest.text = digestText(size, hash);
    return digest;
}

unsigned long copyWithDigest(const std::string& source, const std::string& destination, std::string& digest) {
    KernelHandle from(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!from.valid()) return GetLastError();
    HANDLE to = createDestination(destination);
    if (to == INVALID_HANDLE_VALUE) return GetLastError();
    // Each chunk is hashed as it is written, while it is still in the processor's cache: the
    // file is read once.
    char* buffer = chunkBuffer();
    Sha256 hash;
    unsigned long long size = 0;
    for (DWORD got = 0;;) {
        if (!ReadFile(from.get(), buffer, kChunk, &got, nullptr)) return failed(to, destination);
        if (got == 0) break;
        if (!writeAll(to, buffer, got)) return failed(to, destination);
        hash.update(buffer, got);
        size += got;
    }
    FILETIME changed;
    if (GetFileTime(from.get(), nullptr, nullptr, &changed)) SetFileTime(to, nullptr, nullptr, &changed);
    if (!CloseHandle(to)) return failed(to, destination);
    digest = digestText(size, hash);
    return ERROR_SUCCESS;
}

unsigned long writeWithDigest(const void* bytes, std::size_t size, const std::string& destination,
                              std::string& digest) {
    HANDLE to = createDestination(destination);
    if (to == INVALID_HANDLE_VALUE) return GetLastError();
    if (!writeAll(to, bytes, static_cast<DWORD>(size))) return failed(to, destination);
    if (!CloseHandle(to)) return failed(to, destination);
    Sha256 hash;
    hash.update(bytes, size);
    digest = digestText(size, hash);
    return ERROR_SUCCESS;
}

unsigned long openForCopyError(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;  // as CopyFile onto it
    if (attributes & kBlockingAttributes) return ERROR_SUCCESS;
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return file.valid() ? ERROR_SUCCESS : GetLastError();
}

unsigned long long fileVersionOf(const std::string& path) {
    // version.dll is not imported: like every library the loader would look for beside the
    // program first, it is taken from the system folder when first needed.
    using InfoSize = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using Info = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using Query = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    static auto infoSize = systemExport<InfoSize>("version.dll", "GetFileVersionInfoSizeA");
    static auto info = systemExport<Info>("version.dll", "GetFileVersionInfoA");
    static auto query = systemExport<Query>("version.dll", "VerQueryValueA");
    DWORD handle = 0;
    DWORD size = infoSize && info && query ? infoSize(path.c_str(), &handle) : 0;
    if (size == 0) return 0;
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!info(path.c_str(), 0, size, &data[0]) ||
        !query(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed)
        return 0;
    return (static_cast<unsigned long long>(fixed->dwFileVersionMS) << 32) | fixed->dwFileVersionLS;
}

bool sameContents(const std::string& onePath, const std::string& otherPath) {
    FileDigest one = digestOf(onePath), other = digestOf(otherPath);
    return !one.text.empty() && one.text == other.text;
}

bool isHeldByAnotherProgram(unsigned long error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}
