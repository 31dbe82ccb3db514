#pragma once

#include <QString>
#include <optional>

// The remembered sign-in, "Login" and "Password". The login is kept in the program's settings file; the
// password in the desktop's keyring, or in the settings file (kept to its owner) when no keyring answers.
// A missing value reads as the empty text; writing never reports anything.
namespace CredentialStore {
inline const QString Login = QStringLiteral("Login");
inline const QString Password = QStringLiteral("Password");

QString GetStringSetting(const QString& valueName);
// The value when it can be had without asking the keyring (which may take a while); nothing otherwise.
std::optional<QString> GetStringSettingAtOnce(const QString& valueName);
void SaveStringSetting(const QString& valueName, const QString& text);
} // namespace CredentialStore
