#include "SysInfo.h"

#include "platform/SystemRegistry.h"

namespace SysInfo {

bool GetKeyValue(quint32 keyRoot, const QString& keyName, const QString& subKeyRef, QString& keyValue)
{
    const auto value = SystemRegistry::instance().read(keyRoot, keyName, subKeyRef, 1024);
    if (!value) {
        keyValue.clear();
        return false;
    }
    QByteArray kept = value->data;
    if (kept.isEmpty())
        throw Error{}; // a value without data cannot be read as either kind
    if (kept.endsWith('\0'))
        kept.chop(1);
    switch (value->type) {
    case SystemRegistry::TypeText:
        keyValue = QString::fromLocal8Bit(kept);
        break;
    case SystemRegistry::TypeDword: {
        // The bytes from the last to the first (the number is stored low byte first), each as two
        // hexadecimal digits, appended to what keyValue already holds, and read as one hexadecimal number.
        QString hex = keyValue;
        for (qsizetype i = kept.size() - 1; i >= 0; --i)
            hex += QStringLiteral("%1").arg(static_cast<unsigned char>(kept.at(i)), 2, 16, QLatin1Char('0')).toUpper();
        bool ok = false;
        const qulonglong number = hex.toULongLong(&ok, 16);
        if (!ok)
            throw Error{};
        keyValue = QString::number(number);
        break;
    }
    default:
        break;
    }
    return true;
}

bool StartSysInfo()
{
    try {
        QString path;
        if (!GetKeyValue(SystemRegistry::LocalMachine, ToolKey, ToolValue, path)) {
            if (!GetKeyValue(SystemRegistry::LocalMachine, FolderKey, FolderValue, path))
                return false;
            if (!ProgramLauncher::instance().isOrdinaryFile(path + ProgramName))
                return false;
            path += ProgramName;
        }
        return ProgramLauncher::instance().start(path);
    } catch (const Error&) {
        return false;
    }
}

} // namespace SysInfo
