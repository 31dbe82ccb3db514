#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <functional>

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

bool contains(const QString& name)
{
    return open().contains(name);
}

static void change(const std::function<void(QSettings&)>& edit)
{
    QSettings settings = open();
    // The folder is closed to others before the file is first written into it.
    restrictToOwner(settings.fileName());
    edit(settings);
    settings.sync();
    restrictToOwner(settings.fileName());
}

void writeText(const QString& name, const QString& text)
{
    change([&](QSettings& settings) { settings.setValue(name, text); });
}

void remove(const QString& name)
{
    change([&](QSettings& settings) { settings.remove(name); });
}

} // namespace SettingsStore
