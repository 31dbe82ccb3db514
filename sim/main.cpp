// quillmoor-sim: the local stand-in for the Quillmoor service, for demos and tests.
#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmoor-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Local stand-in for the Quillmoor service (127.0.0.1 only)."));
    parser.addHelpOption();
    const QCommandLineOption portOption(
        {QStringLiteral("p"), QStringLiteral("port")},
        QStringLiteral("Port to listen on; 0 picks a free one (default %1).").arg(QUILLMOOR_SIM_DEFAULT_PORT),
        QStringLiteral("port"), QString::number(QUILLMOOR_SIM_DEFAULT_PORT));
    const QCommandLineOption accountsOption(
        QStringLiteral("accounts"), QStringLiteral("Seed accounts from this JSON file."), QStringLiteral("file"));
    const QCommandLineOption stateOption(QStringLiteral("state"),
                                         QStringLiteral("Keep created and activated accounts in this JSON file."),
                                         QStringLiteral("file"));
    const QCommandLineOption logOption(QStringLiteral("log"),
                                       QStringLiteral("Write the request log to this file instead of standard output."),
                                       QStringLiteral("file"));
    const QCommandLineOption delayOption(QStringLiteral("delay-ms"), QStringLiteral("Delay every account API answer."),
                                         QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption faultOption(
        QStringLiteral("fault"), QStringLiteral("Break every account API answer: notxml, http500, doctype or hang."),
        QStringLiteral("mode"));
    const QCommandLineOption beaconOption(
        QStringLiteral("load-beacon"),
        QStringLiteral("Make every HTML page request /_sim/loaded when it has loaded (for timing page loads)."));
    parser.addOptions({portOption, accountsOption, stateOption, logOption, delayOption, faultOption, beaconOption});
    parser.process(app);

    QTextStream err(stderr);
    SimServer server;
    QString error;
    if (parser.isSet(accountsOption)) {
        if (!server.loadAccounts(parser.value(accountsOption), &error)) {
            err << "quillmoor-sim: " << error << Qt::endl;
            return 2;
        }
    } else {
        server.loadDefaultAccounts();
    }
    if (parser.isSet(stateOption))
        server.setStateFile(parser.value(stateOption));

    QFile logFile;
    QFile out;
    if (parser.isSet(logOption)) {
        logFile.setFileName(parser.value(logOption));
        if (!SimServer::openPrivateFile(logFile, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text, &error)) {
            err << "quillmoor-sim: " << error << Qt::endl;
            return 2;
        }
        server.setLogDevice(&logFile);
    } else {
        out.open(stdout, QIODevice::WriteOnly);
        server.setLogDevice(&out);
    }

    server.setDelayMs(parser.value(delayOption).toInt());
    server.setLoadBeacon(parser.isSet(beaconOption));
    const QString fault = parser.value(faultOption);
    server.setFault(fault == QLatin1String("notxml")    ? SimServer::Fault::NotXml
                    : fault == QLatin1String("http500") ? SimServer::Fault::HttpError
                    : fault == QLatin1String("doctype") ? SimServer::Fault::DocumentType
                    : fault == QLatin1String("hang")    ? SimServer::Fault::Hang
                                                        : SimServer::Fault::None);

    bool ok = false;
    const int port = parser.value(portOption).toInt(&ok);
    if (!ok || port < 0 || port > 65535 || server.listenLocal(quint16(port)) == 0) {
        err << "quillmoor-sim: cannot listen on 127.0.0.1:" << parser.value(portOption) << Qt::endl;
        return 1;
    }
    err << "quillmoor-sim listening on " << server.baseUrl() << Qt::endl;
    return app.exec();
}
