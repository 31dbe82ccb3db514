// The report web server's pages under /lumenpane/.
#include "SimServer.h"

void registerReportPages(SimServer&)
{
    // PLACEHOLDER: the report pages arrive with the report viewer.
}
