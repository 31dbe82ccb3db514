#include "CredentialStore.h"

#include "platform/SettingsStore.h"

namespace CredentialStore {
QString GetStringSetting(const QString& valueName)
{
    return SettingsStore::readText(valueName);
}
void SaveStringSetting(const QString& valueName, const QString& text)
{
    SettingsStore::writeText(valueName, text);
}
} // namespace CredentialStore
