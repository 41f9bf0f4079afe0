// The AutoCAD-running test by a Tool Help process snapshot.
#include "acad/AcadProcess.h"

#include <windows.h>

#include <tlhelp32.h>

#include "acad/ReleaseRules.h"
#include "framework/Handles.h"

#if defined(__i386__)
// The record the walk reads has this size on 32-bit Windows; the size field must match the
// build's own record (304 bytes on x86_64, where 296 makes Process32First fail).
static_assert(sizeof(PROCESSENTRY32) == 296, "i686 process-entry record");
#endif

bool isAcadRunning() {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (acad::isAcadProcessName(entry.szExeFile)) return true;
    }
    return false;
}
