#pragma once

#include <QIcon>

// The program's icon, drawn at run time: three rising bars on a blue tile.
namespace AppIcon {
QIcon icon();
}
