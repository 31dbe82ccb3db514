// Runs every file of the folders (or the files) given through the fuzz target once: the corpus as a plain test.
#include "FuzzCheck.h"

#include <QDir>
#include <QFile>

int main(int argc, char* argv[])
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QDir folder(QString::fromLocal8Bit(argv[i]));
        if (!folder.exists())
            files << QString::fromLocal8Bit(argv[i]);
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
            files << folder.filePath(name);
    }
    for (const QString& name : std::as_const(files)) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "%s\n", qPrintable(name)); // names the input if the next call aborts
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%lld inputs, no finding\n", static_cast<long long>(files.size()));
    return files.isEmpty() ? 2 : 0;
}
