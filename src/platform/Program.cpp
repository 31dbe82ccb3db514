#include "Program.h"

#include <QApplication>
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

bool Program::isEnding() { return g_ending; }

int Program::run()
{
    const int code = g_ending ? g_code : QApplication::exec();
    // Destroy the windows while the application (and the web engine under it) still exists.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        delete w;
    return code;
}
