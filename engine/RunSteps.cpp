// A run's changes as steps; see RunSteps.h.
#include "engine/RunSteps.h"

#include "framework/Files.h"
#include "journal/LogTexts.h"

namespace {

bool keepsForNext(const WorkItem& item) {
    const std::string kind = item.record().kind;
    return kind == kinds::kFileBackup || kind == kinds::kKeyBackup || kind == kinds::kValueBackup ||
           kind == kinds::kKeptOriginal;
}

// What happened to one step.
enum class StepEnd { Made, LeftOut, Stop };

StepEnd applyStep(Journal& journal, Step& step, EngineObserver& observer, SetupLog& log,
                  StepsOutcome& outcome) {
    for (std::size_t made = 0; made < step.size(); ++made) {
        for (;;) {
            Failure failure = journal.apply(step[made]);
            if (!failure.failed()) break;
            FailureAnswer answer = FailureAnswer::Ignore;
            if (failure.action == Failure::Action::ProtectFolder) {
                // No way round a folder that cannot be protected: every user's AutoCAD would load
                // the plug-in from a folder others may change.
                outcome.why = {Refusal::Reason::FolderUnprotected, failure.subject, failure.error};
                answer = FailureAnswer::Abort;
            } else if (!step[made]->auxiliary) {
                answer = observer.failed(failure, recommendedAnswer(failure));
                outcome.why = {Refusal::Reason::Aborted, failure.subject, failure.error};
            }
            log.line(logtexts::answeredWords(failure, answer), failure.subject, failure.error);
            if (answer == FailureAnswer::Retry) continue;
            if (answer == FailureAnswer::Abort) return StepEnd::Stop;
            outcome.goneOnWithout.push_back(failure);
            journal.undoLast(made);
            return StepEnd::LeftOut;
        }
    }
    return StepEnd::Made;
}

}  // namespace

void appendSteps(Steps& steps, WorkItems items) {
    Step step;
    for (auto& item : items) {
        const bool keeps = keepsForNext(*item);
        step.push_back(std::move(item));
        if (keeps) continue;
        steps.push_back(std::move(step));
        step.clear();
    }
    if (!step.empty()) steps.push_back(std::move(step));
}

StepsOutcome applySteps(Journal& journal, Steps& steps, EngineObserver& observer, SetupLog& log) {
    StepsOutcome outcome;
    observer.progress(0, steps.size());
    for (std::size_t done = 0; done < steps.size(); ++done) {
        if (applyStep(journal, steps[done], observer, log, outcome) == StepEnd::Stop) {
            outcome.stopped = true;
            outcome.notPutBack = journal.rollback();
            return outcome;
        }
        observer.progress(done + 1, steps.size());
    }
    return outcome;
}

FailureAnswer recommendedAnswer(const Failure& failure) {
    return isHeldByAnotherProgram(failure.error) ? FailureAnswer::Retry : FailureAnswer::Abort;
}
