#pragma once

#include "platform/Keyring.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The remembered sign-in, "Login" and "Password". The login is kept in the program's settings file; the password in
// the desktop's keyring, or in the settings file (kept to its owner) when no keyring takes it in time. A missing
// value reads as the empty text; writing never reports anything. One store per program, owned with the windows
// that sign in and handed to them.
class CredentialStore : public QObject {
    Q_OBJECT
public:
    inline static const QString Login = QStringLiteral("Login");
    inline static const QString Password = QStringLiteral("Password");

    explicit CredentialStore(QObject* parent = nullptr);
    // A password that the keyring has not confirmed yet goes to the settings file: it is not lost.
    ~CredentialStore() override;

    // The value when it can be had without asking the keyring (which may take a while); nothing otherwise.
    std::optional<QString> GetStringSettingAtOnce(const QString& valueName) const;
    // The value, from the keyring when it rests there: handed to then from the event loop, unless context has gone.
    void GetStringSetting(const QString& valueName, QObject* context, std::function<void(const QString&)> then);
    void SaveStringSetting(const QString& valueName, const QString& text);
    // True while the keyring has yet to confirm a password.
    bool isWriting() const { return m_unconfirmed.has_value(); }

private:
    Keyring m_keyring;
    std::optional<QString> m_unconfirmed; // the newest password, until the keyring or the file holds it
    int m_writes = 0;
};
