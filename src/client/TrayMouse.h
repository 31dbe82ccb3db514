#pragma once

#include <QList>
#include <QSystemTrayIcon>

// What the tray icon does with the mouse, decided from the mouse event code the notification area
// reports (the Windows message numbers) and the code reported just before it.
namespace TrayMouse {

enum Code {
    MouseMove = 0x200,
    LeftButtonDown = 0x201,
    LeftButtonUp = 0x202,
    LeftButtonDoubleClick = 0x203, // 515
    RightButtonDown = 0x204,       // 516
    RightButtonUp = 0x205,         // 517
    RightButtonDoubleClick = 0x206,
    MiddleButtonDown = 0x207,
    MiddleButtonUp = 0x208,
};

enum class Action { None, Restore, ShowMenu };

// A left double click restores; a right button release opens the menu only straight after the press.
Action decide(int code, int previousCode);

// The codes that one activation of the icon stands for, in the order a notification area sends them.
// Qt reports the first click of a double click as a click of its own, so a double click adds only the
// double click and the release after it.
QList<int> codesFor(QSystemTrayIcon::ActivationReason reason);

// Keeps the previous code between events.
class Decoder {
public:
    Action feed(int code)
    {
        const Action action = decide(code, m_previous);
        m_previous = code;
        return action;
    }
    int previous() const { return m_previous; }

private:
    int m_previous = 0;
};

} // namespace TrayMouse
