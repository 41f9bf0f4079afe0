// RAII owners of Windows handles, so that no early return leaks one.
#pragma once

#include <windows.h>

// An open registry key; closes it when it goes out of scope. Predefined roots
// (HKEY_LOCAL_MACHINE etc.) may be held too: closing them is harmless.
class RegKey {
   public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }

    HKEY get() const { return key_; }
    HKEY* out() {
        close();
        return &key_;
    }  // for the Reg*Key functions' output argument
    explicit operator bool() const { return key_ != nullptr; }
    void close() {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }

   private:
    HKEY key_ = nullptr;
};

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
