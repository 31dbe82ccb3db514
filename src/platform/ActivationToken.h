#pragma once

#include <QString>

// What lets a window come forward on a desktop that prevents focus stealing: the token a launcher or a notification
// area hands a program for the user's action. Wayland compositors take an xdg-activation token
// (XDG_ACTIVATION_TOKEN); X11 window managers a startup-notification id (DESKTOP_STARTUP_ID), whose "_TIME" part
// is the time of that action.
struct ActivationToken {
    QString wayland;
    QString startupId;

    bool isEmpty() const { return wayland.isEmpty() && startupId.isEmpty(); }
    bool operator==(const ActivationToken&) const = default;

    // The tokens in this process's environment, which are then removed from it: a token is good for one window
    // once, and must not reach the programs this one starts.
    static ActivationToken takeFromEnvironment();
    // The X server time in a startup-notification id ("..._TIME<time>"), 0 when it holds none.
    static quint32 startupTime(const QString& startupId);
};
