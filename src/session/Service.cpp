#include "Service.h"

#include <QtGlobal>

namespace {
QString fromEnvironment(const char* name, const char* builtIn)
{
    QString base = qEnvironmentVariable(name);
    if (base.isEmpty())
        base = QString::fromUtf8(builtIn);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}
} // namespace

namespace Service {
QString apiBase()
{
    return fromEnvironment("LUMENPANE_API_BASE", LUMENPANE_API_SERVER_BASE);
}
QString reportBase()
{
    return fromEnvironment("LUMENPANE_REPORT_BASE", LUMENPANE_REPORT_SERVER_BASE);
}
} // namespace Service
