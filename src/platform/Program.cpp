#include "Program.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

int Program::run()
{
    const int code = QApplication::exec();
    // Destroy the windows while the application (and the web engine under it) still exists.
    // Pop-up menus are top-level windows too but belong to a window, and deleting one window can take others
    // with it: only what still exists and has no owner is deleted here.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        if (w && !w->parentWidget())
            delete w.data();
    return code;
}
