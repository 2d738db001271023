// The web side of weblark-hostd with every limit at its default:
// - requests per second and 99th-percentile latency of the rendered home page
//   for 64 connections on loopback (wrk, 2 threads, 5 s), and nginx serving the
//   same file under the same load;
// - the same load while 5,000 idle keep-alive connections are open, and the
//   server's resident memory then;
// - how much the server's resident memory grows while 20 clients download a
//   40 MB picture at once.
#include "HostdProcess.h"
#include "site/SiteRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

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

double rssMb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// A blocking socket to 127.0.0.1:port from the loopback address `from`.
int connectFrom(quint32 from, quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{}, remote{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(from);
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

// Reads one response with a Content-Length from a blocking socket; its length, or -1.
qint64 readResponse(int fd)
{
    QByteArray head;
    char buf[65536];
    qsizetype end = -1;
    while ((end = head.indexOf("\r\n\r\n")) < 0) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return -1;
        head.append(buf, n);
    }
    const auto m =
        QRegularExpression(QStringLiteral("Content-Length: (\\d+)"), QRegularExpression::CaseInsensitiveOption)
            .match(QString::fromLatin1(head.left(end)));
    const qint64 length = m.captured(1).toLongLong();
    qint64 have = head.size() - end - 4;
    while (have < length) {
        const ssize_t n = ::read(fd, buf, size_t(qMin<qint64>(sizeof buf, length - have)));
        if (n <= 0)
            return -1;
        have += n;
    }
    return length;
}

// 5,000 keep-alive connections that each fetched the home page and then stay
// idle; spread over 20 loopback addresses, as many visitors would be, so the
// per-address limit stays at its default.
std::vector<int> openIdle(quint16 port, int count)
{
    std::vector<int> fds;
    const QByteArray get = "GET /bench/ HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    for (int i = 0; i < count; ++i) {
        const int fd = connectFrom(0x7f000102 + quint32(i % 20), port);
        if (fd < 0 || ::write(fd, get.constData(), size_t(get.size())) != get.size() || readResponse(fd) < 0) {
            std::fprintf(stderr, "idle connection %d failed\n", i);
            if (fd >= 0)
                ::close(fd);
            break;
        }
        fds.push_back(fd);
    }
    return fds;
}

// Still open: the server has not closed them.
int stillOpen(const std::vector<int>& fds)
{
    int open = 0;
    for (int fd : fds) {
        pollfd p{fd, POLLIN, 0};
        char c;
        if (::poll(&p, 1, 0) == 0 || (p.revents & POLLIN && ::recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT) > 0))
            ++open;
    }
    return open;
}

// 20 clients download the file at once; the highest resident memory seen meanwhile.
double downloadPeak(quint16 port, const QByteArray& path, qint64 size, qint64 pid, bool* ok)
{
    std::vector<pollfd> fds;
    std::vector<qint64> left;
    const QByteArray get = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    for (int i = 0; i < 20; ++i) {
        const int fd = connectFrom(0x7f000001, port);
        if (fd < 0 || ::write(fd, get.constData(), size_t(get.size())) != get.size()) {
            *ok = false;
            return 0;
        }
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        fds.push_back({fd, POLLIN, 0});
        left.push_back(-1);
    }
    double peak = rssMb(pid);
    qint64 total = 0;
    std::vector<char> buf(256 * 1024);
    int open = 20;
    while (open > 0 && ::poll(fds.data(), fds.size(), 10000) > 0) {
        for (pollfd& p : fds) {
            if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP)))
                continue;
            const ssize_t n = ::read(p.fd, buf.data(), buf.size());
            if (n <= 0) {
                ::close(p.fd);
                p.fd = -1;
                --open;
                continue;
            }
            total += n;
        }
        peak = qMax(peak, rssMb(pid));
    }
    for (pollfd& p : fds) {
        if (p.fd >= 0)
            ::close(p.fd);
    }
    *ok = total >= 20 * size;
    return peak;
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
    // Room for the idle connections on both ends (the server raises its own limit).
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);

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
    // A 40 MB picture (random bytes: nothing to gain by compressing).
    const qint64 bigSize = 40LL * 1024 * 1024;
    {
        QFile big(site + QStringLiteral("www/pictures/big.jpg"));
        QDir().mkpath(site + QStringLiteral("www/pictures"));
        big.open(QIODevice::WriteOnly);
        QByteArray block(1024 * 1024, Qt::Uninitialized);
        for (int i = 0; i < 40; ++i) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
            big.write(block);
        }
    }
    QProcess hostd;
    const quint16 httpPort =
        startHostd(hostd, QStringLiteral(WEBLARK_HOSTD), tmp.path(), tmp.filePath(QStringLiteral("data")), appdir);
    if (!httpPort)
        return 1;
    const QString url = QStringLiteral("http://127.0.0.1:%1/bench/").arg(httpPort);
    const Load hostdLoad = runWrk(wrk, url);

    const std::vector<int> idle = openIdle(httpPort, 5000);
    const double idleRss = rssMb(hostd.processId());
    const Load idleLoad = runWrk(wrk, url);
    const double idleRssAfter = rssMb(hostd.processId());
    const int idleLeft = stillOpen(idle);
    for (int fd : idle)
        ::close(fd);

    QThread::msleep(500); // the server notices the closed idle connections
    const double bigBefore = rssMb(hostd.processId());
    bool bigOk = false;
    const double bigPeak = downloadPeak(httpPort, "/bench/pictures/big.jpg", bigSize, hostd.processId(), &bigOk);

    hostd.write("quit\n");
    if (!hostd.waitForFinished(10000))
        hostd.kill();
    if (!hostdLoad.ok || !idleLoad.ok || !bigOk || idle.size() != 5000) {
        std::fprintf(stderr, "a run failed (idle connections %zu, big downloads %s)\n", idle.size(),
                     bigOk ? "complete" : "incomplete");
        return 1;
    }
    std::printf("hostd_http_rps %.0f req/s\n", hostdLoad.rps);
    std::printf("hostd_http_p99_ms %.2f ms\n", hostdLoad.p99Ms);
    std::printf("hostd_idle_conns_rss_mb %.1f MB\n", qMax(idleRss, idleRssAfter));
    std::printf("hostd_http_rps_with_idle %.0f req/s\n", idleLoad.rps);
    std::printf("hostd_idle_conns_open_after_load %d conns\n", idleLeft);
    std::printf("hostd_big_file_rss_mb %.1f MB\n", bigPeak - bigBefore);

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
