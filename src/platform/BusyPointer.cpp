#include "BusyPointer.h"

#include <QApplication>
#include <QCursor>

namespace {
bool g_busy = false;
}

void BusyPointer::setBusy(bool busy)
{
    if (busy == g_busy)
        return;
    g_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

bool BusyPointer::isBusy()
{
    return g_busy;
}
