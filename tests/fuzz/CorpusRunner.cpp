// Runs every file of the corpus folder given through the fuzz target once: the corpus as a plain test.
#include "FuzzCheck.h"

#include <QDir>

int main(int argc, char* argv[])
{
    const QDir folder(QString::fromLocal8Bit(argc > 1 ? argv[1] : ""));
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "%s\n", qPrintable(name)); // names the input if the next call aborts
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%lld inputs, no finding\n", static_cast<long long>(names.size()));
    return names.isEmpty() ? 2 : 0;
}
