// Discovery scaling: synthetic AutoCAD registries of 10 to 10,000 product keys, spread over
// version keys of both roots, some nested deep below their version, some holding no values.
// Times the installer's discovery against a bare recursive enumeration of the same keys.
// Prints, per size, the time per key of both, then "row|..." lines for bench/lib.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Measure.h"
#include "acad/AcadInstallations.h"
#include "support/Sandbox.h"

namespace {

const char* const kRoots[] = {"SOFTWARE\\Autodesk\\AutoCAD", "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD"};
constexpr int kVersionKeys = 20;

void setString(HKEY key, const char* name, const std::string& value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

// Product key i: one in ten below the 32-bit root (releases up to 2010 there), one in ten
// three levels deep, one in five without values. Returns whether it names an installation.
bool addProductKey(int i) {
    bool wow = i % 10 == 7;
    int year = wow ? 2007 + i % 4 : 2007 + i % 20;
    char path[200];
    const char* nesting = i % 10 == 3 ? "Group\\Sub\\Deeper\\" : "";
    std::snprintf(path, sizeof path, "%s\\R%d.%d\\%sACAD-%04d:804", kRoots[wow ? 1 : 0],
                  17 + i % kVersionKeys / 4, i % 4, nesting, i);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool withValues = i % 5 != 4;
    if (withValues) {
        setString(key, "AcadLocation", "C:\\Program Files\\AutoCAD " + std::to_string(year) + "\\");
        setString(key, "ProductName", "AutoCAD " + std::to_string(year) + " - Simplified Chinese");
    }
    RegCloseKey(key);
    return withValues;
}

// The baseline: every key below both roots, visited with RegEnumKeyExA. Returns the count.
int enumerateKeys(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    int count = 1;
    char child[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof child;
        if (RegEnumKeyExA(key, index, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        count += enumerateKeys(key, child);
    }
    RegCloseKey(key);
    return count;
}

int bareEnumeration() {
    return enumerateKeys(HKEY_LOCAL_MACHINE, kRoots[0]) + enumerateKeys(HKEY_LOCAL_MACHINE, kRoots[1]);
}

int discover() { return static_cast<int>(findAcadReleases().size()); }

// Seconds per call of one sample, repeating the call enough times to last.
double secondsPerCall(int (*call)(), int repeats) {
    double start = now();
    for (int r = 0; r < repeats; ++r) call();
    return (now() - start) / repeats;
}

struct Result {
    int keys;
    double discoveryPerKey;
    double enumerationPerKey;
};

bool measure(int keys, Result& result) {
    RegistrySandbox sandbox;
    int installations = 0;
    for (int i = 0; i < keys; ++i) installations += addProductKey(i) ? 1 : 0;
    int found = discover();
    if (found != installations) {
        std::printf("%d keys: discovery found %d installations of %d\n", keys, found, installations);
        return false;
    }
    int repeats = std::max(1, 1000 / keys);
    std::vector<double> discovery, enumeration;
    // Three samples of each, alternating, so that both see the same state of the machine.
    for (int sample = 0; sample < 3; ++sample) {
        enumeration.push_back(secondsPerCall(bareEnumeration, repeats));
        discovery.push_back(secondsPerCall(discover, repeats));
    }
    result = {keys, median(discovery) / keys, median(enumeration) / keys};
    return true;
}

}  // namespace

int main() {
    std::vector<Result> results;
    for (int keys : {10, 100, 1000, 10000}) {
        Result result;
        if (!measure(keys, result)) return 1;
        results.push_back(result);
        std::printf("%6d product keys: discovery %7.1f us/key, bare enumeration %7.1f us/key, ratio %.2f\n",
                    keys, result.discoveryPerKey * 1e6, result.enumerationPerKey * 1e6,
                    result.discoveryPerKey / result.enumerationPerKey);
    }
    for (const Result& r : results)
        std::printf("row|discovery, %d keys (us/key) vs bare enumeration|%.2f|%.2f|2\n", r.keys,
                    r.discoveryPerKey * 1e6, r.enumerationPerKey * 1e6);
    // Flat time per key: the largest registry against 100 keys (10 keys is mostly fixed cost).
    std::printf("row|discovery us/key, 10000 keys vs 100 keys (flatness)|%.2f|%.2f|1.5\n",
                results[3].discoveryPerKey * 1e6, results[1].discoveryPerKey * 1e6);
    return 0;
}
