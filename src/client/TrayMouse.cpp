#include "TrayMouse.h"

namespace TrayMouse {

Action decide(int code, int previousCode)
{
    if (code == LeftButtonDoubleClick)
        return Action::Restore;
    // A movement reported between press and release means the press was not meant for the menu.
    if (code == RightButtonUp && previousCode == RightButtonDown)
        return Action::ShowMenu;
    return Action::None;
}

QList<int> codesFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {LeftButtonDown, LeftButtonUp};
    case QSystemTrayIcon::DoubleClick:
        return {LeftButtonDoubleClick, LeftButtonUp};
    case QSystemTrayIcon::Context:
        return {RightButtonDown, RightButtonUp};
    case QSystemTrayIcon::MiddleClick:
        return {MiddleButtonDown, MiddleButtonUp};
    default:
        return {};
    }
}

} // namespace TrayMouse
