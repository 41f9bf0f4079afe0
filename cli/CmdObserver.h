// SetUpCmd.exe's side of the engine: nobody to ask, so every decision is answered by the command
// line. AutoCAD running stops the command (170); a chosen folder others may change is protected
// or refused as the request says; a failure is tried again a few times while another program
// holds the file, then answered by --on-copy-failure (abort: everything is put back; ignore: the
// command goes on without it). The engine logs each decision with its answer.
#pragma once

#include "cli/CommandLineRules.h"
#include "engine/Engine.h"

namespace cli {

class CmdObserver : public EngineObserver {
   public:
    explicit CmdObserver(OnCopyFailure onCopyFailure) : onCopyFailure(onCopyFailure) {}

    bool goOnWhileAcadRuns() override { return false; }
    bool protectChosenFolder(const std::string&) override { return false; }
    FailureAnswer failed(const Failure& failure, FailureAnswer recommended) override;
    void refused(const Refusal&) override {}
    void progress(std::size_t, std::size_t) override {}

   private:
    OnCopyFailure onCopyFailure;
    std::string retrying;  // the file being retried
    int retries = 0;
};

}  // namespace cli
