// What SetUpCmd.exe writes: its log (UTF-8 text, one line per step with the time, what was
// done, where, and the Windows error of a failure) to the --log file or standard error, and
// its answers (lists, status, JSON) to standard output. A console gets the text through the
// wide functions; a file or a pipe, as deployment tools read it, UTF-8.
#pragma once

#include <windows.h>

#include <string>

namespace cli {

std::string utf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
// A path of the engine (system code page) as UTF-8.
std::string utf8OfSystem(const std::string& systemText);

// Writes text to standard output or standard error.
void writeOut(const std::wstring& text);
void writeError(const std::wstring& text);

class Log {
   public:
    // To the file (created anew; its folder must exist), or to standard error when none.
    explicit Log(const std::wstring& file);
    ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;
    bool usable() const { return usable_; }

    // One line: the time, what, where (a path in the system code page), and the error.
    void line(const std::wstring& what, const std::string& where = std::string(), unsigned long error = 0);

   private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool usable_ = true;
};

}  // namespace cli
