#include "AccountCommand.h"

#include "platform/OffThread.h"
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
    CommandOutcome outcome;
    if (!loaded || document.parseErrorCode() != 0) {
        --g_pending;
        outcome.kind = CommandOutcome::Kind::Failure;
        outcome.failureDetail = document.errorDetail();
        return outcome;
    }
    const QByteArray& answer = document.document();
    OffThread::runWhilePainting(answer.size(), [&] { outcome.answer = ServiceResponse(answer); });
    --g_pending;
    outcome.kind = outcome.answer.succeeded() ? CommandOutcome::Kind::Success : CommandOutcome::Kind::Refusal;
    return outcome;
}
