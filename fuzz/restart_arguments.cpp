// Fuzzes the reading of SetUp.exe's command line, where the restart elevated hands over the
// user's choices: no crash on any text, and whatever is read is handed over again the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/RestartRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring commandLine;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        commandLine += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    for (const std::wstring& line : {commandLine, L"SetUp.exe --elevated-restart \"" + commandLine}) {
        restart::Choices read;
        if (!restart::read(line, read)) continue;
        restart::Choices again;
        if (!restart::read(L"SetUp.exe " + restart::arguments(read), again)) std::abort();
        if (again.folder != read.folder || again.releases != read.releases) std::abort();
    }
    return 0;
}
