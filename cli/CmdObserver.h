// SetUpCmd.exe's side of the installation: nobody to ask, so a failed copy is answered by the
// command line (abort or ignore), after a few retries for a file another program holds. The
// engine logs each failure with the answer.
#pragma once

#include "acad/Engine.h"
#include "cli/CommandLineRules.h"

namespace cli {

class CmdObserver : public InstallObserver {
   public:
    explicit CmdObserver(OnCopyFailure onCopyFailure) : onCopyFailure(onCopyFailure) {}

    void step() override {}
    CopyAnswer copyFailed(const Failure& failure) override;
    void refused(const Refusal&) override {}

   private:
    OnCopyFailure onCopyFailure;
    std::string retrying;  // the file being retried
    int retries = 0;
};

}  // namespace cli
