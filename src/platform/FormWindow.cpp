#include "FormWindow.h"

#include "AppIcon.h"
#include "WindowPlacement.h"

#include <QWidget>

namespace FormWindow {

void setUp(QWidget* window)
{
    QFont formFont = window->font();
    formFont.setPointSizeF(8.25);
    window->setFont(formFont);
    window->setWindowIcon(AppIcon::icon());
    WindowPlacement::centreWhenFirstShown(window);
    WindowPlacement::takeFocusWhenShown(window);
}

} // namespace FormWindow
