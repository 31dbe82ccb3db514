#pragma once

#include <functional>

class QWidget;

// Where windows appear: centred on the screen that holds the mouse pointer (or the primary screen).
namespace WindowPlacement {
void centreOnScreen(QWidget* window);
// Centres the window the first time it is shown; later showings leave it where the user put it.
void centreWhenFirstShown(QWidget* window);
// Asks for the keyboard focus each time the window is shown: a window that opens is the one the user works in next.
// Window managers give it to a new window themselves; without one, keys would go to whatever is under the pointer.
void takeFocusWhenShown(QWidget* window);
// Calls back from the event loop once the window has painted for the first time, that is once the user sees it.
void afterFirstPaint(QWidget* window, std::function<void()> then);
} // namespace WindowPlacement
