#pragma once

class QLineEdit;

// Password boxes show "*" for every character, whatever mask the style or platform would draw.
namespace PasswordMask {
void apply(QLineEdit* box);
}
