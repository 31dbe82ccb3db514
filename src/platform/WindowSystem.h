#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

// Which windowing Qt loads, settled before the application object exists: Qt reads its choice from the environment
// as that object is made.
//
// In a Wayland session the program runs natively on the compositor (Qt 6.4 would otherwise pick X11 in a GNOME
// session), falling back to X11 where Qt's Wayland plugin is not installed or cannot connect. The person's own
// QT_QPA_PLATFORM and QT_IM_MODULE always win.
//
// On a compositor that offers no seat (no keyboard, no pointer: a headless one), Qt 6.4's own Wayland text input
// crashes the first time a line edit asks it for anything; there, and only there, the text input is Qt's
// compose-key input context, the one X11 uses by default. With a seat, the compositor's input methods work as
// they always do.
class WindowSystem {
public:
    struct Choice {
        std::optional<QByteArray> platform;    // for QT_QPA_PLATFORM; none: leave it
        std::optional<QByteArray> inputMethod; // for QT_IM_MODULE
        bool operator==(const Choice&) const = default;
    };
    // What the program sets, given the environment it was started with and a way to ask the compositor whether
    // it offers a seat (asked only when that decides anything).
    static Choice choose(const std::function<std::optional<QByteArray>(const char*)>& environment,
                         const std::function<bool()>& compositorHasSeat);
    // Whether the Wayland compositor of WAYLAND_DISPLAY offers a seat; true when none can be reached (then Qt
    // falls back to X11, and nothing needs changing).
    static bool compositorHasSeat();

    // Sets the variables of the choice for the application object about to be made.
    WindowSystem();
    // Puts them back as they were, once the application object exists: the programs this one starts (a browser,
    // a mail program) keep the person's own settings.
    void restore();

private:
    std::optional<QByteArray> m_platform, m_inputMethod; // what was there before
    bool m_restored = false;
};
