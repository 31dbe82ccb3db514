#include "AccountCommand.h"

#include "platform/XmlDocument.h"

CommandOutcome runAccountCommand(const QString& address)
{
    XmlDocument document;
    CommandOutcome outcome;
    if (!document.load(address) || document.parseErrorCode() != 0) {
        outcome.kind = CommandOutcome::Kind::Failure;
        outcome.failureDetail = document.errorDetail();
        return outcome;
    }
    outcome.answer = ServiceResponse(document.document());
    outcome.kind = outcome.answer.succeeded() ? CommandOutcome::Kind::Success : CommandOutcome::Kind::Refusal;
    return outcome;
}
