// RAII owners of Windows handles, so that no early return leaks one.
#pragma once

#include <windows.h>

// A kernel handle closed with CloseHandle (process snapshots, files).
class KernelHandle {
   public:
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() {
        if (valid()) CloseHandle(handle_);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

   private:
    HANDLE handle_;
};

// A directory search started by FindFirstFileA; FindClose when done.
class FindHandle {
   public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (valid()) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

   private:
    HANDLE handle_;
};
