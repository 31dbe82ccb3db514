#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace SettingsStore {

static QSettings open()
{
    return QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Lumenpane"));
}

static void restrictToOwner(const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (QFile::exists(file))
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

QString fileName()
{
    return open().fileName();
}

QString readText(const QString& name)
{
    const QVariant value = open().value(name);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

void writeText(const QString& name, const QString& text)
{
    QSettings settings = open();
    // The folder is closed to others before the file is first written into it.
    restrictToOwner(settings.fileName());
    settings.setValue(name, text);
    settings.sync();
    restrictToOwner(settings.fileName());
}

} // namespace SettingsStore
