#pragma once

class QWidget;

// Where windows appear: centred on the screen that holds the mouse pointer (or the primary screen).
namespace WindowPlacement {
void centreOnScreen(QWidget* window);
// Centres the window the first time it is shown; later showings leave it where the user put it.
void centreWhenFirstShown(QWidget* window);
} // namespace WindowPlacement
