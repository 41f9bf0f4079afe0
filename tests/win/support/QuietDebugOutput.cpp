// Linked into every Windows test program. GoogleTest also sends each failure and skip message
// to OutputDebugStringA, which Windows (and Wine) deliver as a DBG_PRINTEXCEPTION_C exception.
// 32-bit Wine run by QEMU's user-mode emulator, where the i686 programs run here, crashes while
// unwinding from that exception as soon as a second thread exists (GoogleTest starts one), so
// the first failure would end the whole program instead of being reported. The messages are on
// standard output already: the i686 programs take this no-op in place of the kernel32 import.
#include <windows.h>

#if defined(__i386__)
namespace {
void WINAPI discardDebugOutput(LPCSTR) {}
}  // namespace

extern "C" {
// The import-table slot name of the i686 kernel32 import library; defining it here makes the
// linker take this definition instead of the library's.
void(WINAPI* importedOutputDebugStringA)(LPCSTR) __asm__("__imp__OutputDebugStringA@4") = discardDebugOutput;
}
#endif
