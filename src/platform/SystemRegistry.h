#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Read-only access to the machine-wide configuration database of the platform (the registry on
// Windows; elsewhere there is none and every read finds nothing). Tests install a fake.
class SystemRegistry {
public:
    static constexpr quint32 LocalMachine = 0x80000002u;
    static constexpr quint32 TypeText = 1;  // a text value
    static constexpr quint32 TypeDword = 4; // a 32-bit number

    struct Value {
        quint32 type = 0;
        QByteArray data; // the raw bytes, as many as the value holds
    };

    virtual ~SystemRegistry() = default;

    // One value of a key, opened for reading only. Nothing when the key or value is missing, cannot be
    // read, or holds more than maxBytes.
    virtual std::optional<Value> read(quint32 root, const QString& key, const QString& valueName, int maxBytes) = 0;

    static SystemRegistry& instance();
    // Replaces the platform's registry (tests); nullptr restores it. Does not take ownership.
    static void setInstance(SystemRegistry* registry);
};

// Starting another program of the platform, and the file test that comes before it.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // An existing ordinary file (not a folder, not hidden, and not a system file where there are such).
    virtual bool isOrdinaryFile(const QString& path) = 0;
    // Starts the program on its own, in a normal window with the focus; true when it started.
    virtual bool start(const QString& path) = 0;

    static ProgramLauncher& instance();
    static void setInstance(ProgramLauncher* launcher);
};
