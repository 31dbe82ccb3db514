#include "SystemRegistry.h"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

class PlatformRegistry : public SystemRegistry {
public:
    std::optional<Value> read(quint32 root, const QString& key, const QString& valueName, int maxBytes) override
    {
#ifdef Q_OS_WIN
        HKEY handle = nullptr;
        // Read access only: asking for more makes the key unreadable for ordinary users.
        if (RegOpenKeyExW(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root)), reinterpret_cast<LPCWSTR>(key.utf16()),
                          0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
            return std::nullopt;
        QByteArray buffer(maxBytes, '\0');
        DWORD type = 0;
        DWORD size = DWORD(maxBytes);
        const LONG result = RegQueryValueExA(handle, valueName.toLocal8Bit().constData(), nullptr, &type,
                                             reinterpret_cast<LPBYTE>(buffer.data()), &size);
        RegCloseKey(handle);
        if (result != ERROR_SUCCESS)
            return std::nullopt;
        buffer.truncate(int(size));
        return Value{type, buffer};
#else
        Q_UNUSED(root);
        Q_UNUSED(key);
        Q_UNUSED(valueName);
        Q_UNUSED(maxBytes);
        return std::nullopt;
#endif
    }
};

class PlatformLauncher : public ProgramLauncher {
public:
    bool isOrdinaryFile(const QString& path) override
    {
        const QFileInfo info(path);
        return info.isFile() && !info.isHidden();
    }
    bool start(const QString& path) override { return QProcess::startDetached(path, {}); }
};

SystemRegistry* g_registry = nullptr;
ProgramLauncher* g_launcher = nullptr;

} // namespace

SystemRegistry& SystemRegistry::instance()
{
    static PlatformRegistry platform;
    return g_registry ? *g_registry : platform;
}
void SystemRegistry::setInstance(SystemRegistry* registry)
{
    g_registry = registry;
}

ProgramLauncher& ProgramLauncher::instance()
{
    static PlatformLauncher platform;
    return g_launcher ? *g_launcher : platform;
}
void ProgramLauncher::setInstance(ProgramLauncher* launcher)
{
    g_launcher = launcher;
}
