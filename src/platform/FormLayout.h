#pragma once

#include <QFont>

class QWidget;

// Fixed window layouts are given in twips: 1/1440 inch, 15 twips to a pixel at 96 dots per inch.
namespace FormLayout {
constexpr int px(int twips)
{
    return (twips * 2 + 15) / 30;
} // rounded to the nearest pixel

// Places a widget at a position and size given in twips.
void place(QWidget* widget, int left, int top, int width, int height);
// Gives a window a fixed client area given in twips.
void setFixedClientSize(QWidget* window, int width, int height);
// The font that fixed layouts are measured for: a small sans serif face, 8 points.
QFont formFont();
// Centres a window on the screen that holds the mouse pointer (or the primary screen).
void centreOnScreen(QWidget* window);
// Centres the window the first time it is shown; later showings leave it where the user put it.
void centreWhenFirstShown(QWidget* window);
} // namespace FormLayout
