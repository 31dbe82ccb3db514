#include "AccountCommand.h"

#include "platform/XmlDocument.h"

namespace {
int g_pending = 0;
}

bool accountCommandPending()
{
    return g_pending > 0;
}

CommandOutcome runAccountCommand(const QString& address)
{
    XmlDocument document;
    ++g_pending;
    const bool loaded = document.load(address);
    --g_pending;
    CommandOutcome outcome;
    if (!loaded || document.parseErrorCode() != 0) {
        outcome.kind = CommandOutcome::Kind::Failure;
        outcome.failureDetail = document.errorDetail();
        return outcome;
    }
    outcome.answer = ServiceResponse(document.document());
    outcome.kind = outcome.answer.succeeded() ? CommandOutcome::Kind::Success : CommandOutcome::Kind::Refusal;
    return outcome;
}
