#include "CredentialStore.h"

#include "platform/Keyring.h"
#include "platform/SettingsStore.h"

namespace CredentialStore {

static const QString KeyringService = QStringLiteral("Lumenpane");

// A password in the settings file is the newest one: it is there only when the last write found no keyring, or
// an earlier version of the program wrote it. The keyring may still hold an older one, so the file comes first.
QString GetStringSetting(const QString& valueName)
{
    if (valueName != Password || SettingsStore::contains(valueName))
        return SettingsStore::readText(valueName);
    return Keyring::read(KeyringService, valueName).value_or(QString());
}

std::optional<QString> GetStringSettingAtOnce(const QString& valueName)
{
    if (valueName != Password || SettingsStore::contains(valueName))
        return SettingsStore::readText(valueName);
    return std::nullopt;
}

// The file gives up a password only once the keyring has confirmed that it holds the new one.
void SaveStringSetting(const QString& valueName, const QString& text)
{
    if (valueName == Password && Keyring::write(KeyringService, valueName, text))
        SettingsStore::remove(valueName);
    else
        SettingsStore::writeText(valueName, text);
}

} // namespace CredentialStore
