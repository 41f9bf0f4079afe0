// SetUpCmd.exe's side of the installation: nobody to ask, so a failed copy is answered by the
// command line (abort or ignore), after a few retries for a file another program holds; what
// stops the installation and what failed go to the log.
#pragma once

#include "cli/CommandLineRules.h"
#include "cli/Output.h"
#include "deploy/InstallObserver.h"

namespace cli {

class CmdObserver : public InstallObserver {
   public:
    CmdObserver(Log& log, OnCopyFailure onCopyFailure) : log(log), onCopyFailure(onCopyFailure) {}

    void step() override {}
    CopyAnswer copyFailed(const Failure& failure) override;
    void refused(const Refusal& refusal) override;

    bool wasRefused() const { return refusals > 0; }
    bool aborted() const { return abortedCopy; }

   private:
    Log& log;
    OnCopyFailure onCopyFailure;
    std::string retrying;  // the file being retried
    int retries = 0;
    int refusals = 0;
    bool abortedCopy = false;
};

}  // namespace cli
