// weblark-hostd: the reference hosting server for the publishing client.
#include "HostServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("weblark-hostd"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference hosting server for Weblark publishing."));
    parser.addHelpOption();
    const QCommandLineOption listenOpt(QStringLiteral("listen"), QStringLiteral("Address to listen on."),
                                       QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("TCP port."), QStringLiteral("N"),
                                     QStringLiteral("1234"));
    const QCommandLineOption accountsOpt(QStringLiteral("accounts"),
                                         QStringLiteral("Accounts file: \"<account> <password>\" per line."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption dataOpt(
        QStringLiteral("data"), QStringLiteral("Data folder: site owners and published sites."), QStringLiteral("DIR"));
    const QCommandLineOption noticeOpt(
        QStringLiteral("notice"), QStringLiteral("HTML announcement sent on a version query."), QStringLiteral("FILE"));
    const QCommandLineOption maxOpt(QStringLiteral("max-upload-mb"), QStringLiteral("Largest accepted archive in MB."),
                                    QStringLiteral("N"), QStringLiteral("1024"));
    parser.addOptions({listenOpt, portOpt, accountsOpt, dataOpt, noticeOpt, maxOpt});
    parser.process(app);

    HostConfig config;
    bool portOk = false, maxOk = false;
    config.address = QHostAddress(parser.value(listenOpt));
    config.port = quint16(parser.value(portOpt).toUInt(&portOk));
    config.accountsFile = parser.value(accountsOpt);
    config.dataDir = parser.value(dataOpt);
    config.noticeFile = parser.value(noticeOpt);
    const qint64 maxMb = parser.value(maxOpt).toLongLong(&maxOk);
    if (config.address.isNull() || !portOk || config.accountsFile.isEmpty() || config.dataDir.isEmpty() || !maxOk ||
        maxMb <= 0) {
        std::fprintf(stderr, "usage: weblark-hostd --listen ADDRESS --port N --accounts FILE --data DIR "
                             "[--notice FILE] [--max-upload-mb N]\n");
        return 2;
    }
    if (!QFile::exists(config.accountsFile)) {
        std::fprintf(stderr, "weblark-hostd: accounts file %s not found\n", qPrintable(config.accountsFile));
        return 2;
    }
    config.maxUploadBytes = maxMb * 1024 * 1024;

    HostServer server(config);
    QObject::connect(&server, &HostServer::logLine, [](const QString& line) {
        const QByteArray text =
            (QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    });
    QString error;
    if (!server.listen(&error)) {
        std::fprintf(stderr, "weblark-hostd: cannot listen: %s\n", qPrintable(error));
        return 1;
    }
    // The port actually bound (useful with --port 0).
    std::printf("listening %u\n", unsigned(server.serverPort()));
    std::fflush(stdout);

    // Operator commands, one per line on standard input.
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated, [&] {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            stdinNotifier.setEnabled(false); // end of input: keep serving
            return;
        }
        pending.append(buf, n);
        qsizetype nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(nl)).trimmed();
            pending.remove(0, nl + 1);
            if (line == QLatin1String("quit")) {
                QCoreApplication::quit();
                return;
            }
            const QByteArray answer = (server.operatorCommand(line) + QLatin1Char('\n')).toUtf8();
            std::fwrite(answer.constData(), 1, size_t(answer.size()), stdout);
            std::fflush(stdout);
        }
    });
    return app.exec();
}
