// Test tool of tests/msi/run: installs a package through MsiInstallProductW with properties whose
// text no command line has touched. Wine's msiexec drops every double quote from its command
// line, so a property holding one can reach a package only this way.
//   msi_install.exe <package> NAME=VALUE...
// Each VALUE is handed over exactly: written as NAME="VALUE" with every quote in it doubled, as
// Windows Installer reads a property list. No user interface. Prints "msi-install-code=<code>"
// (MsiInstallProductW's result; the process's own exit status is only its low byte under Wine)
// and exits with it.
#include <windows.h>
// After windows.h, whose types it uses.
#include <msi.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: msi_install.exe <package> NAME=VALUE...\n", stderr);
        return 87;
    }
    std::wstring properties;
    for (int i = 2; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const std::size_t equals = argument.find(L'=');
        if (equals == std::wstring::npos) {
            std::fputs("msi_install.exe: a property is NAME=VALUE\n", stderr);
            return 87;
        }
        std::wstring value;
        for (wchar_t c : argument.substr(equals + 1))
            value += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
        properties +=
            (properties.empty() ? L"" : L" ") + argument.substr(0, equals + 1) + L'"' + value + L'"';
    }
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    const UINT code = MsiInstallProductW(argv[1], properties.c_str());
    std::printf("msi-install-code=%u\n", code);
    return static_cast<int>(code);
}
