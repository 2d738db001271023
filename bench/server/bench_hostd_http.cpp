// Requests per second and 99th-percentile latency of the rendered home page
// served by weblark-hostd to 64 connections on loopback (wrk, 2 threads, 5 s),
// and in the same run the same file served by nginx under the same load.
#include "site/SiteRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

struct Load {
    double rps = 0;
    double p99Ms = 0;
    bool ok = false;
};

// wrk prints "Requests/sec:  12345.67" and, with --latency, "99%  1.23ms".
Load runWrk(const QString& wrk, const QString& url)
{
    QProcess p;
    p.start(wrk, {"-t2", "-c64", "-d5s", "--latency", url});
    Load load;
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        std::fprintf(stderr, "wrk failed: %s\n", p.readAllStandardError().constData());
        return load;
    }
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const auto rps = QRegularExpression(QStringLiteral("Requests/sec:\\s+([0-9.]+)")).match(out);
    const auto p99 = QRegularExpression(QStringLiteral("\\s99%\\s+([0-9.]+)(us|ms|s)")).match(out);
    const auto errors = QRegularExpression(QStringLiteral("Non-2xx or 3xx responses: (\\d+)")).match(out);
    if (!rps.hasMatch() || !p99.hasMatch() || errors.hasMatch()) {
        std::fprintf(stderr, "unexpected wrk output:\n%s\n", qPrintable(out));
        return load;
    }
    load.rps = rps.captured(1).toDouble();
    const double scale = p99.captured(2) == QLatin1String("us")  ? 0.001
                         : p99.captured(2) == QLatin1String("s") ? 1000
                                                                 : 1;
    load.p99Ms = p99.captured(1).toDouble() * scale;
    load.ok = true;
    return load;
}

quint16 freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

void skip(const char* why)
{
    std::printf("skip bench_hostd_http: %s\n", why);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString wrk = QStandardPaths::findExecutable(QStringLiteral("wrk"));
    const QString nginx = QFileInfo(QStringLiteral("/usr/sbin/nginx")).isExecutable()
                              ? QStringLiteral("/usr/sbin/nginx")
                              : QStandardPaths::findExecutable(QStringLiteral("nginx"));
    if (wrk.isEmpty()) {
        skip("wrk is not installed");
        return 0;
    }
    const QString appdir = QStringLiteral(WEBLARK_STAGED_APPDIR);
    QTemporaryDir tmp;
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    const QString site = tmp.filePath(QStringLiteral("data/sites/bench/"));
    QDir().mkpath(site + QStringLiteral("site"));
    QFile::copy(appdir + QStringLiteral("/initData/govbuilder.sbd"), site + QStringLiteral("site/govbuilder.sbd"));
    const SiteRenderResult rendered =
        renderSite({site + QStringLiteral("site/govbuilder.sbd"), site + QStringLiteral("site/"),
                    appdir + QLatin1Char('/'), site + QStringLiteral("www/")});
    if (!rendered.ok) {
        std::fprintf(stderr, "cannot render the site: %s\n", qPrintable(rendered.error));
        return 1;
    }
    QFile accounts(tmp.filePath(QStringLiteral("accounts.txt")));
    accounts.open(QIODevice::WriteOnly);
    accounts.write("bench bench\n");
    accounts.close();

    QProcess hostd;
    hostd.setStandardErrorFile(QProcess::nullDevice());
    hostd.start(QStringLiteral(WEBLARK_HOSTD), {"--port", "0", "--http-port", "0", "--accounts", accounts.fileName(),
                                                "--data", tmp.filePath(QStringLiteral("data")), "--appdir", appdir});
    quint16 httpPort = 0;
    while (hostd.waitForReadyRead(10000)) {
        while (hostd.canReadLine()) {
            const QByteArray line = hostd.readLine().trimmed();
            if (line.startsWith("http "))
                httpPort = quint16(line.mid(5).toUInt());
        }
        if (httpPort)
            break;
    }
    if (!httpPort) {
        std::fprintf(stderr, "weblark-hostd did not start\n");
        return 1;
    }
    const Load hostdLoad = runWrk(wrk, QStringLiteral("http://127.0.0.1:%1/bench/").arg(httpPort));
    hostd.write("quit\n");
    if (!hostd.waitForFinished(10000))
        hostd.kill();
    if (!hostdLoad.ok)
        return 1;
    std::printf("hostd_http_rps %.0f req/s\n", hostdLoad.rps);
    std::printf("hostd_http_p99_ms %.2f ms\n", hostdLoad.p99Ms);

    if (nginx.isEmpty()) {
        skip("nginx is not installed, no comparison");
        return 0;
    }
    // nginx on a private prefix, configuration and port, serving the same file.
    const QString prefix = tmp.filePath(QStringLiteral("nginx/"));
    QDir().mkpath(prefix + QStringLiteral("logs"));
    const quint16 nginxPort = freePort();
    QFile conf(prefix + QStringLiteral("nginx.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write(QStringLiteral("worker_processes 2;\n"
                              "pid %1nginx.pid;\n"
                              "error_log %1logs/error.log;\n"
                              "daemon off;\n"
                              "events { worker_connections 1024; }\n"
                              "http {\n"
                              "  access_log off;\n"
                              "  default_type text/html;\n"
                              "  server {\n"
                              "    listen 127.0.0.1:%2;\n"
                              "    location /bench/ { alias %3www/; index index.htm; }\n"
                              "  }\n"
                              "}\n")
                   .arg(prefix)
                   .arg(nginxPort)
                   .arg(site)
                   .toUtf8());
    conf.close();
    QProcess ng;
    ng.setProcessChannelMode(QProcess::MergedChannels);
    ng.start(nginx, {"-p", prefix, "-c", conf.fileName()});
    bool up = false;
    for (int i = 0; i < 100 && !up && ng.state() != QProcess::NotRunning; ++i) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, nginxPort);
        up = probe.waitForConnected(100);
        if (!up)
            QThread::msleep(50);
    }
    if (!up) {
        std::fprintf(stderr, "nginx did not start: %s\n", ng.readAll().constData());
        skip("nginx could not be started, no comparison");
        return 0;
    }
    const Load nginxLoad = runWrk(wrk, QStringLiteral("http://127.0.0.1:%1/bench/").arg(nginxPort));
    ng.terminate();
    if (!ng.waitForFinished(10000))
        ng.kill();
    if (!nginxLoad.ok)
        return 1;
    std::printf("nginx_http_rps %.0f req/s\n", nginxLoad.rps);
    std::printf("hostd_vs_nginx %.2f ratio\n", hostdLoad.rps / nginxLoad.rps);
    return 0;
}
