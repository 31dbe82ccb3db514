#include "CredentialStore.h"

#include "platform/SettingsStore.h"

#include <QTimer>

CredentialStore::CredentialStore(QObject* parent) : QObject(parent), m_keyring(QStringLiteral("Lumenpane"), this) {}

CredentialStore::~CredentialStore()
{
    if (m_unconfirmed)
        SettingsStore::writeText(Password, *m_unconfirmed);
}

// The password being written is the newest one. Then a password in the settings file: it is there only when the
// last write found no keyring, or an earlier version of the program wrote it. The keyring may still hold an older
// one, so it comes last.
std::optional<QString> CredentialStore::GetStringSettingAtOnce(const QString& valueName) const
{
    if (valueName != Password)
        return SettingsStore::readText(valueName);
    if (m_unconfirmed)
        return m_unconfirmed;
    if (SettingsStore::contains(Password))
        return SettingsStore::readText(Password);
    return std::nullopt;
}

void CredentialStore::GetStringSetting(const QString& valueName, QObject* context,
                                       std::function<void(const QString&)> then)
{
    if (const std::optional<QString> atOnce = GetStringSettingAtOnce(valueName)) {
        QTimer::singleShot(0, context, [then, text = *atOnce] { then(text); });
        return;
    }
    m_keyring.read(valueName, context, [then](const std::optional<QString>& text) { then(text.value_or(QString())); });
}

// The file gives up a password only once the keyring has confirmed that it holds the new one.
void CredentialStore::SaveStringSetting(const QString& valueName, const QString& text)
{
    if (valueName != Password) {
        SettingsStore::writeText(valueName, text);
        return;
    }
    const int write = ++m_writes; // from here on, the answer to an earlier write changes nothing
    if (!m_keyring.canAsk()) {
        m_unconfirmed.reset();
        SettingsStore::writeText(Password, text);
        return;
    }
    m_unconfirmed = text;
    m_keyring.write(Password, text, this, [this, write, text](bool stored) {
        if (write != m_writes)
            return;
        m_unconfirmed.reset();
        if (stored)
            SettingsStore::remove(Password);
        else
            SettingsStore::writeText(Password, text);
    });
}
