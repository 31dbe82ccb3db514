#pragma once

#include <QString>
#include <optional>

// The desktop's keyring (the Secret Service on Linux), asked synchronously. Each call waits in a local event
// loop that leaves user input alone, and gives up after a few seconds, so a hung keyring cannot freeze a window.
// After a time-out the keyring counts as absent until its late answer has come in: requests are answered in
// order, so a newer one would only wait behind it, and a late write must not overtake a newer one.
namespace Keyring {
// The stored text; nothing when there is none or the keyring did not answer.
std::optional<QString> read(const QString& service, const QString& key);
// True once the keyring has confirmed that it holds the text.
bool write(const QString& service, const QString& key, const QString& text);
} // namespace Keyring
