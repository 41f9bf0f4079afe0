// Start-up timer: starts each program given, again and again, and measures the time from
// CreateProcess to the first visible top-level window of that process; then ends it.
// Runs alternate between the programs so that drift of the machine hits all alike.
// Usage: bench_startup_timer <runs> <program.exe>...   Prints "median_ms <program> <ms>".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Measure.h"

namespace {

struct Search {
    DWORD processId;
    bool found;
};

BOOL CALLBACK checkWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    search->found = true;
    return FALSE;
}

bool hasVisibleWindow(DWORD processId) {
    Search search = {processId, false};
    EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Milliseconds to the first visible window, or a negative number when none came in 20 s.
double timeOneStart(const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    double start = now();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    double elapsed = -1;
    while (now() - start < 20) {
        if (hasVisibleWindow(process.dwProcessId)) {
            elapsed = (now() - start) * 1000;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <runs> <program.exe>...\n", argv[0]);
        return 2;
    }
    int runs = std::max(1, std::atoi(argv[1]));
    std::vector<std::string> programs(argv + 2, argv + argc);
    std::vector<std::vector<double>> times(programs.size());
    for (std::size_t p = 0; p < programs.size(); ++p) timeOneStart(programs[p]);  // warm the file cache
    for (int run = 0; run < runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            double ms = timeOneStart(programs[p]);
            if (ms < 0) {
                std::fprintf(stderr, "%s: no visible window\n", programs[p].c_str());
                return 1;
            }
            times[p].push_back(ms);
        }
    }
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf("median_ms %s %.1f\n", programs[p].c_str(), median(times[p]));
    return 0;
}
