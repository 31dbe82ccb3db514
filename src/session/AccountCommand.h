#pragma once

#include "ServiceResponse.h"

#include <QString>

// Carries out one account API command: one GET of the command address, the answer parsed, and the
// outcome classified. A well-formed answer whose STATUS is not exactly "OK" (or missing) is a refusal;
// no answer, an HTTP error, or anything that is not well-formed XML is a failure.
struct CommandOutcome {
    enum class Kind { Success, Refusal, Failure };
    Kind kind = Kind::Failure;
    ServiceResponse answer; // empty after a failure
    QString failureDetail;  // what went wrong, after a failure

    bool succeeded() const { return kind == Kind::Success; }
    bool refused() const { return kind == Kind::Refusal; }
    bool failed() const { return kind == Kind::Failure; }
};

CommandOutcome runAccountCommand(const QString& address);

// True while a command waits for its answer. The wait still runs timers and socket events, so whatever would
// open a window or another waiting loop in the middle of it (a second copy asking to come forward) checks this
// and comes back later.
bool accountCommandPending();
