#pragma once

#include <QString>

// The per-user settings file of the program (QSettings "Quillmoor"/"Lumenpane"). It may hold a password (when
// no keyring takes it), so its folder is kept to the owner (0700) and the file readable by the owner only (0600).
namespace SettingsStore {
// The text of a value; the empty text when the value is missing or not a single text.
QString readText(const QString& name);
void writeText(const QString& name, const QString& text);
bool contains(const QString& name);
void remove(const QString& name);
QString fileName();
} // namespace SettingsStore
