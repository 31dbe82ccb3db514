#include "Program.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {
bool g_ending = false;
int g_code = 0;
} // namespace

void Program::end(int code)
{
    g_ending = true;
    g_code = code;
    QCoreApplication::exit(code);
}

bool Program::isEnding()
{
    return g_ending;
}

int Program::run()
{
    const int code = g_ending ? g_code : QApplication::exec();
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
