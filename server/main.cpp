// weblark-hostd: the reference hosting server for the publishing client.
#include "HostServer.h"
#include "OptionsFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    // The options of the configuration file (--config FILE) come first, so the command line overrides them.
    QStringList faults;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    arguments = OptionsFile::expand(arguments, &faults);
    // The web side renders sites, and the renderer letters the organisation's name into
    // pictures, which needs the font system of a GUI application (without a display).
    // The plain publishing server stays a console application.
    bool webSide = false;
    for (const QString& a : std::as_const(arguments))
        webSide = webSide || a.startsWith(QLatin1String("--http-port"));
    std::unique_ptr<QCoreApplication> application;
    if (webSide) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // A server started outside a login session has no runtime folder; give it the one Qt
        // would fall back to, so the start-up prints no warning before our own messages.
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
            const QByteArray runtime = QByteArray("/tmp/runtime-") + QByteArray::number(getuid());
            if (::mkdir(runtime.constData(), 0700) == 0 || errno == EEXIST)
                qputenv("XDG_RUNTIME_DIR", runtime);
        }
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("weblark-hostd"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference hosting server for Weblark publishing."));
    parser.addHelpOption();
    const QCommandLineOption listenOpt(QStringLiteral("listen"), QStringLiteral("Address to listen on."),
                                       QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("TCP port, 1-65535; 0 picks a free one."),
                                     QStringLiteral("N"), QStringLiteral("1234"));
    const QCommandLineOption accountsOpt(QStringLiteral("accounts"),
                                         QStringLiteral("Accounts file: \"<account> <password>\" per line."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption dataOpt(
        QStringLiteral("data"), QStringLiteral("Data folder: site owners and published sites."), QStringLiteral("DIR"));
    const QCommandLineOption noticeOpt(
        QStringLiteral("notice"), QStringLiteral("HTML announcement sent on a version query."), QStringLiteral("FILE"));
    const QCommandLineOption maxOpt(QStringLiteral("max-upload-mb"),
                                    QStringLiteral("Largest accepted archive in MB, 1-2047."), QStringLiteral("N"),
                                    QStringLiteral("1024"));
    const QCommandLineOption httpOpt(QStringLiteral("http-port"),
                                     QStringLiteral("Serve the published sites over HTTP on this port, 1-65535; 0 "
                                                    "picks a free one. Without it there is no web side."),
                                     QStringLiteral("N"));
    // Beside the executable in the build tree sits the staged application folder.
    const QCommandLineOption appdirOpt(
        QStringLiteral("appdir"), QStringLiteral("Application folder holding the site themes (for --http-port)."),
        QStringLiteral("DIR"), QCoreApplication::applicationDirPath() + QStringLiteral("/appdir"));
    // The web side's limits (README, server section).
    const WebOptions web;
    const auto webOpt = [](const char* name, const char* help, int value) {
        return QCommandLineOption(QLatin1String(name), QLatin1String(help), QStringLiteral("N"),
                                  QString::number(value));
    };
    const QCommandLineOption threadsOpt = webOpt("http-threads", "Threads serving HTTP, 1-64.", web.threads);
    const QCommandLineOption maxConnOpt =
        webOpt("http-max-connections",
               "Open HTTP connections at most, 1-1000000 (lowered to what the open-file limit allows); "
               "further ones wait.",
               web.maxConnections);
    const QCommandLineOption perAddressOpt =
        webOpt("http-max-per-address", "Open HTTP connections from one address at most, 0-1000000 (0: no limit).",
               web.maxPerAddress);
    const QCommandLineOption idleOpt =
        webOpt("http-idle-timeout", "Seconds an idle or stalled HTTP connection stays open, 1-3600.", web.idleTimeoutS);
    const QCommandLineOption headerOpt =
        webOpt("http-header-timeout", "Seconds within which a request's line and headers must arrive, 1-3600.",
               web.headerTimeoutS);
    const QCommandLineOption maxAgeOpt =
        webOpt("http-cache-max-age", "Seconds browsers may keep style sheets, scripts and pictures, 0-31536000.",
               web.cacheMaxAgeS);
    const QCommandLineOption domainOpt(QStringLiteral("site-domain"),
                                       QStringLiteral("Serve each site also at http://<site>.DOMAIN/ (by the Host "
                                                      "header); needs a wildcard DNS entry for DOMAIN."),
                                       QStringLiteral("DOMAIN"));
    parser.addOptions({listenOpt, portOpt, accountsOpt, dataOpt, noticeOpt, maxOpt, httpOpt, appdirOpt, threadsOpt,
                       maxConnOpt, perAddressOpt, idleOpt, headerOpt, maxAgeOpt, domainOpt});
    parser.addOption(QCommandLineOption(QStringLiteral("config"),
                                        QStringLiteral("Read options from FILE first: one \"name = value\" line per "
                                                       "long option (\"name\" alone for a switch)."),
                                        QStringLiteral("FILE")));
    parser.process(arguments);

    // Every option is checked before anything starts; each fault gets its own line.
    const auto number = [&](const QCommandLineOption& opt, int low, int high, const char* range) {
        bool ok = false;
        const QString text = parser.value(opt);
        const int n = text.toInt(&ok);
        if (!ok || n < low || n > high)
            faults << QStringLiteral("--%1 must be a whole number %2, not \"%3\"")
                          .arg(opt.names().first(), QLatin1String(range), text);
        return n;
    };
    HostConfig config;
    config.port = quint16(number(portOpt, 0, 65535, "from 1 to 65535 (0 picks a free port)"));
    // The client announces the archive length as a 32-bit signed number.
    const int maxMb = number(maxOpt, 1, 2047, "of megabytes from 1 to 2047");
    config.maxUploadBytes = qint64(maxMb) * 1024 * 1024;
    config.address = QHostAddress(parser.value(listenOpt));
    if (config.address.isNull())
        faults << QStringLiteral("--listen must be an IP address, not \"%1\"").arg(parser.value(listenOpt));
    config.accountsFile = parser.value(accountsOpt);
    if (config.accountsFile.isEmpty())
        faults << QStringLiteral("--accounts FILE is required");
    else if (!QFileInfo(config.accountsFile).isFile())
        faults << QStringLiteral("--accounts: no file %1").arg(config.accountsFile);
    config.dataDir = parser.value(dataOpt);
    if (config.dataDir.isEmpty())
        faults << QStringLiteral("--data DIR is required");
    config.noticeFile = parser.value(noticeOpt);
    if (parser.isSet(httpOpt)) {
        config.httpPort = number(httpOpt, 0, 65535, "from 1 to 65535 (0 picks a free port)");
        config.appPath = QDir(parser.value(appdirOpt)).absolutePath() + QLatin1Char('/');
        if (!QFileInfo(config.appPath + QStringLiteral("site")).isDir())
            faults
                << QStringLiteral("--appdir: %1 holds no site themes (no folder site/)").arg(parser.value(appdirOpt));
    }
    config.web.threads = number(threadsOpt, 1, 64, "from 1 to 64");
    config.web.maxConnections = number(maxConnOpt, 1, 1000000, "from 1 to 1000000");
    config.web.maxPerAddress = number(perAddressOpt, 0, 1000000, "from 0 to 1000000");
    config.web.idleTimeoutS = number(idleOpt, 1, 3600, "of seconds from 1 to 3600");
    config.web.headerTimeoutS = number(headerOpt, 1, 3600, "of seconds from 1 to 3600");
    config.web.cacheMaxAgeS = number(maxAgeOpt, 0, 31536000, "of seconds from 0 to 31536000");
    config.web.siteDomain = parser.value(domainOpt).toLower();
    static const QRegularExpression domainName(
        QStringLiteral("^([a-z0-9]([a-z0-9-]{0,61}[a-z0-9])?\\.)*[a-z0-9]([a-z0-9-]{0,61}[a-z0-9])?$"));
    if (parser.isSet(domainOpt) &&
        (config.web.siteDomain.size() > 200 || !domainName.match(config.web.siteDomain).hasMatch()))
        faults << QStringLiteral("--site-domain must be a host name such as sites.example.org, not \"%1\"")
                      .arg(parser.value(domainOpt));
    if (!faults.isEmpty()) {
        for (const QString& f : std::as_const(faults))
            std::fprintf(stderr, "weblark-hostd: %s\n", qPrintable(f));
        std::fprintf(stderr, "usage: weblark-hostd --accounts FILE --data DIR [--listen ADDRESS] [--port N] "
                             "[--notice FILE] [--max-upload-mb N] [--http-port N [--appdir DIR] [--site-domain DOMAIN] "
                             "[--http-OPTION N ...]]\n");
        return 2;
    }

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
    if (server.httpPort())
        std::printf("http %u\n", unsigned(server.httpPort()));
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
