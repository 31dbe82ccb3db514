#pragma once

#include <functional>

class QWidget;

// Where windows appear: centred on the screen that holds the mouse pointer (or the primary screen).
namespace WindowPlacement {
void centreOnScreen(QWidget* window);
// Centres the window the first time it is shown; later showings leave it where the user put it.
void centreWhenFirstShown(QWidget* window);
// Calls back from the event loop once the window has painted for the first time, that is once the user sees it.
void afterFirstPaint(QWidget* window, std::function<void()> then);
} // namespace WindowPlacement
