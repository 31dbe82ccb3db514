#pragma once

#include <QString>

// The remembered sign-in: the values "Login" and "Password" of the program's settings, plain text.
// A missing value reads as the empty text; writing never reports anything.
namespace CredentialStore {
inline const QString Login = QStringLiteral("Login");
inline const QString Password = QStringLiteral("Password");

QString GetStringSetting(const QString& valueName);
void SaveStringSetting(const QString& valueName, const QString& text);
} // namespace CredentialStore
