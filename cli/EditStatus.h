#pragma once
// The exit status of a list editor's command.

#include "app/EditOutcome.h"
#include "cli/ExitCode.h"

namespace vantor::cli {

inline int StatusOf(EditOutcome outcome) {
    switch (outcome) {
    case EditOutcome::Done:
        return kDone;
    case EditOutcome::Declined:
        return kCancelled;
    case EditOutcome::Failed:
        break;
    }
    return kFailed;
}

} // namespace vantor::cli
