#pragma once

#include <QString>

// Finds the platform's system information tool through the two machine-wide places where its
// installation records it, and starts it.
namespace SysInfo {
inline const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString ToolValue = QStringLiteral("PATH");
inline const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString FolderValue = QStringLiteral("MSINFO");
inline const QString ProgramName = QStringLiteral("\\MSINFO32.EXE");

// Reads one value into keyValue: a text as it is, a 32-bit number in decimal (unsigned); a value of another
// type leaves keyValue as it was. False, with keyValue emptied, when the value cannot be read.
// Throws SysInfo::Error for a value that exists but holds no data.
bool GetKeyValue(quint32 keyRoot, const QString& keyName, const QString& subKeyRef, QString& keyValue);

// Starts the tool; false when it cannot be found or started.
bool StartSysInfo();

struct Error {};
} // namespace SysInfo
