#pragma once

#include "ActivationToken.h"

class QWidget;

// Bringing a window forward where the desktop prevents focus stealing: a window may take the focus only with the
// token of the user's action that asked for it (ActivationToken).
namespace WindowActivation {
// Shows the window, out of its minimised state, raises it and asks for the focus, with the token when there is
// one: on Wayland through xdg-activation, once the window is on screen; on X11 with the time of the action, and
// for a window that is not shown yet also with the startup id, which ends the launcher's busy feedback.
void bringForward(QWidget* window, const ActivationToken& token = {});
// The token for an action of the user on this program's own tray icon: the one the notification area handed over
// for it, if any; on X11 a startup id with the X server's time of now.
ActivationToken forTrayAction();
} // namespace WindowActivation
