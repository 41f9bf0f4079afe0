// How the installation engine reaches whoever runs it. The engine shows nothing and asks no one
// itself: it puts each decision to its observer, with its own recommendation, reports its
// progress and tells what stops it. SetUp.exe answers with its progress bar and message boxes,
// SetUpCmd.exe with the rules of its command line and a log.
#pragma once

#include <cstddef>
#include <string>

#include "journal/Failure.h"

class EngineObserver {
   public:
    // AutoCAD runs and may hold the files the run replaces: go on all the same (true), or stop
    // before anything is done (false, the engine's recommendation).
    virtual bool goOnWhileAcadRuns() = 0;
    // The chosen folder exists and others than administrators may change it, while every user's
    // AutoCAD will load the plug-in from below it: give it the plug-in folder's protection too
    // (true), or stop (false, recommended). Asked only when the request leaves it to the front end.
    virtual bool protectChosenFolder(const std::string& folder) = 0;
    // Something could not be done: stop and put everything back, try again, or go on without it.
    // recommended is the engine's advice (try again while another program holds the file).
    virtual FailureAnswer failed(const Failure& failure, FailureAnswer recommended) = 0;
    // The run stops, and why; nothing was changed, or everything was put back.
    virtual void refused(const Refusal& refusal) = 0;
    // done of total steps; the first report (0 of the total) comes before the first change.
    virtual void progress(std::size_t done, std::size_t total) = 0;

   protected:
    ~EngineObserver() = default;
};
