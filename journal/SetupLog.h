// The installation's log, kept by the engine for whoever supports the user: one line per step
// and per failure, each with the time, what was done or attempted, on what (a path or a key,
// in the system code page) and, for a failure, the Windows error code with the system's words
// for it. UTF-8. SetUpCmd.exe writes it to its --log file or to standard error; SetUp.exe
// appends every run to TorlenSetup.log in the user's temporary folder. A log that cannot be
// written is left unwritten: it never stops an installation. A log file is never written
// through a link at any level of its path (a symbolic link, a junction or mount point, a second
// hard link): such a file is refused as one that cannot be opened, and the folders of its path are
// held while it is open, so that none can be replaced meanwhile.
#pragma once

#include <memory>
#include <string>

#include "journal/Failure.h"

class SetupLog {
   public:
    enum class Mode {
        Replace,  // a file made anew; its folder must exist
        Append,   // a file added to, started with a byte-order mark when new
    };
    // To standard error (nothing in a window program), also when the file named is empty.
    SetupLog();
    SetupLog(const std::wstring& file, Mode mode);
    ~SetupLog();
    SetupLog(const SetupLog&) = delete;
    SetupLog& operator=(const SetupLog&) = delete;

    // False when the file named could not be opened.
    bool usable() const { return usable_; }
    const std::wstring& file() const { return file_; }

    // The first line of a run: date and time, the program, its edition and build version, and
    // the Windows version it runs on.
    void header(const std::wstring& program);
    // One line: what, where (a path or key in the system code page), and the error.
    void line(const std::wstring& what, const std::string& where = std::string(), unsigned long error = 0);
    // Each failure from position `from` on, one line each.
    void failures(const FailureLog& failures, std::size_t from = 0);
    // One failure.
    void failure(const Failure& failure);

   private:
    void write(const std::wstring& text);

    struct OpenFile;
    std::unique_ptr<OpenFile> open_;
    std::wstring file_;
    bool usable_ = true;
};
