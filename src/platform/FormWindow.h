#pragma once

class QWidget;

// What every fixed-layout window of the program shares: the 8.25-point form font its layout was made for (the
// .ui format holds whole points only), the program's icon, its first appearance centred on the screen, and the
// keyboard focus whenever it is shown.
namespace FormWindow {
void setUp(QWidget* window);
}
