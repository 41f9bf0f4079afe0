// The logon step's cost at a logon: the real TorlenUserSetup.exe run for a user whose part is done
// (every profile trusts the folder, the settings file in place: what Active Setup runs once after
// an installation), and for a user AutoCAD has made no profile for yet (it runs at each of their
// logons until one exists), each against a window program that ends at once. Runs alternate.
// Prints "row|label|figure|baseline|goal" lines (bench/lib.sh). The registry and the plug-in's
// folder are a sandbox of this run, removed afterwards.
// Usage: bench_logon_cost <runs> <TorlenUserSetup.exe> <bare_program.exe>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Measure.h"
#include "journal/RecordStore.h"
#include "support/Sandbox.h"

namespace {

const std::string kProfile =
    "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:804\\Profiles\\Default\\Variables";

// Milliseconds from CreateProcess to the end of the program; negative when it did not start.
double timeOneRun(const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    double start = now();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 60000);
    double elapsed = (now() - start) * 1000;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

// One run of the program for a user whose part is done, one for a user without a profile, and
// one of the bare program, again and again, so that drift of the machine hits all alike; after
// one run each to warm the file cache. The medians, in that order.
std::vector<double> medians(int runs, const std::string& program, const std::string& bare,
                            const std::string& folder) {
    std::vector<std::vector<double>> times(3);
    for (int run = -1; run < runs; ++run) {
        regSetString(HKEY_CURRENT_USER, kProfile, "TRUSTEDPATHS", folder);
        const double done = timeOneRun(program);
        regDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
        const double waiting = timeOneRun(program);
        const double baseline = timeOneRun(bare);
        if (run < 0) continue;
        times[0].push_back(done);
        times[1].push_back(waiting);
        times[2].push_back(baseline);
    }
    return {median(times[0]), median(times[1]), median(times[2])};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <runs> <TorlenUserSetup.exe> <bare_program.exe>\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    TempFolder plugin;
    const std::string program = plugin / "TorlenUserSetup.exe";
    if (!CopyFileA(argv[2], program.c_str(), FALSE)) return 1;
    // The machine's record of an installation in that folder, in this process's registry view: the
    // benchmark tree is the x86_64 build, as the program.
    RecordHeader header;
    header.targetFolder = plugin.path();
    if (RecordStore::machine().commit(header, {}) != ERROR_SUCCESS) return 1;
    const std::vector<double> ms = medians(runs, program, argv[3], plugin.path());
    std::printf("row|logon step, nothing to do (ms) vs a program that ends at once|%.1f|%.1f|3\n", ms[0],
                ms[2]);
    std::printf("row|logon step, no AutoCAD profile yet (ms) vs the same|%.1f|%.1f|3\n", ms[1], ms[2]);

    RecordStore::machine().erase();
    RecordStore::currentUser().erase();
    regDeleteValue(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                   "TorlenBatchPrint32");
    std::printf("median of %d runs each\n", runs);
    return 0;
}
