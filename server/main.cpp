// weblark-hostd: the reference hosting server for the publishing client.
#include "HostServer.h"
#include "OptionsFile.h"
#include "SiteWeb.h"
#include "site/SiteSearch.h"

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
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// "weblark-hostd render ...": one rendering of the web side, run by the server in
// a child process of its own (RenderJobs). The renderer letters the organisation's
// name into pictures, which needs the font system of a GUI application (without a
// display).
static int renderChild(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A server started outside a login session has no runtime folder; give it the one Qt
    // would fall back to, so the rendering prints no warning.
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = QByteArray("/tmp/runtime-") + QByteArray::number(getuid());
        if (::mkdir(runtime.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", runtime);
    }
    // Past the file-size limit a write fails (and the rendering says which file)
    // rather than the process being killed without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QGuiApplication app(argc, argv);
    return SiteWeb::runChild(QCoreApplication::arguments().mid(2));
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "render") == 0)
        return renderChild(argc, argv);
    // The options of the configuration file (--config FILE) come first, so the command line overrides them.
    QStringList faults;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    arguments = OptionsFile::expand(arguments, &faults);
    QCoreApplication app(argc, argv);
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
    // Beside the executable in the build tree sits the staged application folder; an installed
    // server (in .../sbin) finds its themes in .../share/weblark-hostd.
    const QString stagedAppDir = QCoreApplication::applicationDirPath() + QStringLiteral("/appdir");
    const QString installedAppDir =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/weblark-hostd"));
    const QCommandLineOption appdirOpt(QStringLiteral("appdir"),
                                       QStringLiteral("Application folder holding the site themes (for --http-port)."),
                                       QStringLiteral("DIR"),
                                       !QDir(stagedAppDir + QStringLiteral("/site")).exists() &&
                                               QDir(installedAppDir + QStringLiteral("/site")).exists()
                                           ? installedAppDir
                                           : stagedAppDir);
    const QCommandLineOption publicUrlOpt(
        QStringLiteral("public-url"),
        QStringLiteral("Public address of the web side, for the sites' sitemaps, feeds and page cards: a site's "
                       "address is URL/<site>/, or URL with {site} replaced by the site's name (such as "
                       "https://{site}.example.org/ with --site-domain). Without it they have none."),
        QStringLiteral("URL"));
    const QCommandLineOption indexerOpt(
        QStringLiteral("search-indexer"),
        QStringLiteral("The site search indexer (pagefind_extended) run over every rendering; by default "
                       "$WEBLARK_PAGEFIND, the one in the application folder, or the one on PATH. Without one "
                       "the sites have no search box."),
        QStringLiteral("FILE"));
    // The web side's limits (README, server section).
    const WebOptions web;
    const auto numeric = [](const char* name, const char* help, int value) {
        return QCommandLineOption(QLatin1String(name), QLatin1String(help), QStringLiteral("N"),
                                  QString::number(value));
    };
    const QCommandLineOption threadsOpt = numeric("http-threads", "Threads serving HTTP, 1-64.", web.threads);
    const QCommandLineOption maxConnOpt =
        numeric("http-max-connections",
                "Open HTTP connections at most, 1-1000000 (lowered to what the open-file limit allows); "
                "further ones wait.",
                web.maxConnections);
    const QCommandLineOption perAddressOpt =
        numeric("http-max-per-address", "Open HTTP connections from one address at most, 0-1000000 (0: no limit).",
                web.maxPerAddress);
    const QCommandLineOption idleOpt = numeric(
        "http-idle-timeout", "Seconds an idle or stalled HTTP connection stays open, 1-3600.", web.idleTimeoutS);
    const QCommandLineOption headerOpt =
        numeric("http-header-timeout", "Seconds within which a request's line and headers must arrive, 1-3600.",
                web.headerTimeoutS);
    const QCommandLineOption maxAgeOpt =
        numeric("http-cache-max-age", "Seconds browsers may keep style sheets, scripts and pictures, 0-31536000.",
                web.cacheMaxAgeS);
    const QCommandLineOption domainOpt(QStringLiteral("site-domain"),
                                       QStringLiteral("Serve each site also at http://<site>.DOMAIN/ (by the Host "
                                                      "header); needs a wildcard DNS entry for DOMAIN."),
                                       QStringLiteral("DOMAIN"));
    // Limits of the publishing side and of rendering (README, server section).
    const HostConfig defaults;
    const RenderLimits& renderLimits = defaults.render.limits;
    const QCommandLineOption entriesOpt = numeric(
        "max-unpack-entries", "Files and folders an upload may unpack to, 1-10000000.", int(defaults.maxUnpackEntries));
    const QCommandLineOption stallOpt = numeric(
        "upload-stall-timeout", "Seconds an upload may go without a byte, 1-3600.", defaults.uploadStallMs / 1000);
    const QCommandLineOption loginIdleOpt =
        numeric("idle-timeout", "Seconds a publishing connection not logged in may stay quiet, 1-86400.",
                defaults.idleMs / 1000);
    const QCommandLineOption sessionIdleOpt =
        numeric("session-idle-timeout", "Seconds a logged-in publishing connection may stay quiet, 660-86400.",
                defaults.sessionIdleMs / 1000);
    const QCommandLineOption maxPerAddressOpt =
        numeric("max-per-address", "Open publishing connections from one address, 1-10000.", defaults.maxPerAddress);
    const QCommandLineOption renderSecondsOpt = numeric(
        "render-seconds", "Seconds a rendering may take before it is killed, 1-3600.", defaults.render.wallSeconds);
    const QCommandLineOption renderCpuOpt =
        numeric("render-cpu-seconds", "CPU seconds a rendering may use, 1-3600.", defaults.render.cpuSeconds);
    const QCommandLineOption renderMemoryOpt = numeric(
        "render-memory-mb", "Memory (address space) of a rendering in MB, 256-65536.", defaults.render.memoryMb);
    const QCommandLineOption renderJobsOpt = numeric("render-jobs", "Renderings at once, 1-64.", defaults.render.jobs);
    const QCommandLineOption maxPagesOpt =
        numeric("max-pages", "Pages a rendering may write, 1-1000000.", renderLimits.maxPages);
    const QCommandLineOption outputFactorOpt =
        numeric("max-output-factor", "A rendering may write this many times the upload limit, 1-64.", 4);
    const QCommandLineOption nameCharsOpt =
        numeric("max-name-chars", "Longest organisation name drawn as a picture, 1-10000.", renderLimits.maxNameChars);
    parser.addOptions({listenOpt,      portOpt,          accountsOpt,      dataOpt,      noticeOpt,       maxOpt,
                       httpOpt,        appdirOpt,        threadsOpt,       maxConnOpt,   perAddressOpt,   idleOpt,
                       headerOpt,      maxAgeOpt,        domainOpt,        entriesOpt,   stallOpt,        loginIdleOpt,
                       sessionIdleOpt, maxPerAddressOpt, renderSecondsOpt, renderCpuOpt, renderMemoryOpt, renderJobsOpt,
                       maxPagesOpt,    outputFactorOpt,  nameCharsOpt,     publicUrlOpt, indexerOpt});
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
        config.render.publicUrl = parser.value(publicUrlOpt);
        if (parser.isSet(publicUrlOpt) && SiteWeb::siteBaseUrl(config.render.publicUrl, QStringLiteral("s")).isEmpty())
            faults << QStringLiteral("--public-url must be an http:// or https:// address such as "
                                     "https://www.example.org/sites/, not \"%1\"")
                          .arg(config.render.publicUrl);
        config.render.searchIndexer = SiteSearch::findIndexer(parser.value(indexerOpt), config.appPath);
        if (parser.isSet(indexerOpt) && config.render.searchIndexer.isEmpty())
            faults << QStringLiteral("--search-indexer: %1 is no program").arg(parser.value(indexerOpt));
    }
    config.web.threads = number(threadsOpt, 1, 64, "from 1 to 64");
    config.web.maxConnections = number(maxConnOpt, 1, 1000000, "from 1 to 1000000");
    config.web.maxPerAddress = number(perAddressOpt, 0, 1000000, "from 0 to 1000000");
    config.web.idleTimeoutS = number(idleOpt, 1, 3600, "of seconds from 1 to 3600");
    config.web.headerTimeoutS = number(headerOpt, 1, 3600, "of seconds from 1 to 3600");
    config.web.cacheMaxAgeS = number(maxAgeOpt, 0, 31536000, "of seconds from 0 to 31536000");
    config.maxUnpackEntries = number(entriesOpt, 1, 10000000, "from 1 to 10000000");
    config.uploadStallMs = number(stallOpt, 1, 3600, "of seconds from 1 to 3600") * 1000;
    config.idleMs = number(loginIdleOpt, 1, 86400, "of seconds from 1 to 86400") * 1000;
    // The program gives up a quiet connection itself after ten minutes.
    config.sessionIdleMs = number(sessionIdleOpt, 660, 86400, "of seconds from 660 to 86400") * 1000;
    config.maxPerAddress = number(maxPerAddressOpt, 1, 10000, "from 1 to 10000");
    config.render.program = QCoreApplication::applicationFilePath();
    config.render.wallSeconds = number(renderSecondsOpt, 1, 3600, "of seconds from 1 to 3600");
    config.render.cpuSeconds = number(renderCpuOpt, 1, 3600, "of seconds from 1 to 3600");
    config.render.memoryMb = number(renderMemoryOpt, 256, 65536, "of megabytes from 256 to 65536");
    config.render.jobs = number(renderJobsOpt, 1, 64, "from 1 to 64");
    config.render.limits.maxPages = number(maxPagesOpt, 1, 1000000, "from 1 to 1000000");
    config.render.limits.maxOutputBytes = number(outputFactorOpt, 1, 64, "from 1 to 64") * config.maxUploadBytes;
    config.render.limits.maxNameChars = number(nameCharsOpt, 1, 10000, "from 1 to 10000");
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
        Q_EMIT server.logLine(config.render.searchIndexer.isEmpty()
                                  ? QStringLiteral("site search off: no search indexer (pagefind_extended) found")
                                  : QStringLiteral("site search by %1").arg(config.render.searchIndexer));
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
