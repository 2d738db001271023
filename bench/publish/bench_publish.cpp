// Publishing throughput: packing a large workspace (against the zip command on
// the same files) and streaming the archive to weblark-hostd over loopback.
#include "publish/ArchiveSender.h"
#include "publish/Protocol.h"
#include "publish/SitePacker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Rng {
    quint64 s;
    quint64 next()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    double unit() { return double(next() >> 11) / double(1ULL << 53); }
};

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray randomBytes(Rng& rng, qint64 n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (qint64 i = 0; i + 8 <= n; i += 8) {
        const quint64 v = rng.next();
        memcpy(b.data() + i, &v, 8);
    }
    return b;
}

// A 24-bit bitmap of a smooth picture with sensor-like noise in the low bits.
QByteArray bitmap(Rng& rng, qint64 approxBytes)
{
    const int w = 800;
    const int h = int(approxBytes / (w * 3));
    const int row = w * 3;
    QByteArray b(54 + qint64(row) * h, '\0');
    auto put32 = [&](int at, quint32 v) { memcpy(b.data() + at, &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    b[26] = 1;
    b[28] = 24;
    uchar* p = reinterpret_cast<uchar*>(b.data()) + 54;
    const int phase = int(rng.next() % 256);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const quint64 r = rng.next();
            p[0] = uchar((x / 4 + phase) + (r & 7));
            p[1] = uchar((y / 3 + x / 8) + ((r >> 3) & 7));
            p[2] = uchar((phase + y / 5) + ((r >> 6) & 7));
            p += 3;
        }
    }
    return b;
}

qint64 makeWorkspace(const QString& work)
{
    Rng rng{0x9e3779b97f4a7c15ULL};
    QDir().mkpath(work + "images");
    qint64 total = 0;
    for (int i = 0; i < 600; ++i) {
        const double u = rng.unit();
        const qint64 size = 200 * 1024 + qint64(800 * 1024 * u * u * u);
        const QByteArray data = randomBytes(rng, size);
        writeFile(work + QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')), data);
        total += size;
    }
    for (int i = 0; i < 50; ++i) {
        const QByteArray data = bitmap(rng, 1024 * 1024 + qint64(1024 * 1024 * rng.unit()));
        writeFile(work + QStringLiteral("scan%1.bmp").arg(i, 2, 10, QLatin1Char('0')), data);
        total += data.size();
    }
    QByteArray db;
    for (int i = 0; db.size() < 5 * 1024 * 1024; ++i)
        db += QStringLiteral("INSERT INTO content02 VALUES(%1,'新闻标题 %2','2026-%3-01','正文&nbsp;第%1段<br>');\n")
                  .arg(i)
                  .arg(rng.next() % 100000)
                  .arg(1 + i % 12)
                  .toUtf8();
    writeFile(work + "govbuilder.sbd", db);
    total += db.size();
    for (int i = 0; i < 100; ++i) {
        const QByteArray data = randomBytes(rng, 2048 + qint64(rng.next() % 18000));
        writeFile(work + QStringLiteral("images/tile%1.gif").arg(i), data);
        total += data.size();
    }
    return total;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double rssMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

QString ask(QTcpSocket& s, const QString& message)
{
    s.readAll();
    s.write(Protocol::toWire(message));
    QSignalSpy ready(&s, &QTcpSocket::readyRead);
    if (!ready.wait(60000))
        return {};
    QSignalSpy more(&s, &QTcpSocket::readyRead);
    more.wait(20);
    return Protocol::fromWire(s.readAll());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/weblark-bench-XXXXXX"));
    if (!tmp.isValid())
        return 1;
    const QString appPath = tmp.path() + QStringLiteral("/app/");
    const QString work = appPath + QStringLiteral("userImages/");
    const qint64 inputBytes = makeWorkspace(work);
    const double inputMb = double(inputBytes) / (1024.0 * 1024.0);
    std::printf("workspace_mb %.0f MB\n", inputMb);

    // Packing: the packer three times, the zip command once in between (same files, warm cache).
    std::vector<double> packSeconds;
    double zipSeconds = 0;
    for (int run = 0; run < 3; ++run) {
        SitePacker packer(appPath, work);
        QElapsedTimer t;
        t.start();
        if (!packer.zipSiteData()) {
            std::fprintf(stderr, "packing failed: %s\n", qPrintable(packer.errorText()));
            return 1;
        }
        packSeconds.push_back(t.nsecsElapsed() / 1e9);
        if (run == 0) {
            QProcess zip;
            zip.setWorkingDirectory(appPath);
            QElapsedTimer tz;
            tz.start();
            zip.start(QStringLiteral("zip"),
                      {"-r", "-q", "-6", tmp.path() + "/cli.zip", "userImages", "-x", "userImages/images.zip"});
            zip.waitForFinished(-1);
            zipSeconds = tz.nsecsElapsed() / 1e9;
            if (zip.exitCode() != 0) {
                std::fprintf(stderr, "zip failed\n");
                return 1;
            }
            QFile::remove(tmp.path() + "/cli.zip");
        }
    }
    const double packMbs = inputMb / median(packSeconds);
    const double zipMbs = inputMb / zipSeconds;
    std::printf("pack_mb_s %.1f MB/s\n", packMbs);
    std::printf("zip_cli_mb_s %.1f MB/s\n", zipMbs);
    std::printf("pack_vs_zip_cli %.2f x\n", packMbs / zipMbs);

    // Upload to the built server on loopback.
    const QString archive = appPath + SitePacker::uploadArchiveName();
    const qint64 archiveBytes = QFileInfo(archive).size();
    const QString accounts = tmp.path() + QStringLiteral("/accounts.txt");
    writeFile(accounts, "10001 531946\n");
    QProcess hostd;
    hostd.setStandardErrorFile(QProcess::nullDevice());
    hostd.start(QStringLiteral(WEBLARK_HOSTD),
                {"--port", "0", "--accounts", accounts, "--data", tmp.path() + "/hostdata"});
    if (!hostd.waitForReadyRead(10000)) {
        std::fprintf(stderr, "weblark-hostd did not start\n");
        return 1;
    }
    const quint16 port = quint16(hostd.readLine().trimmed().mid(10).toUInt());
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000) || ask(socket, Protocol::loginMessage("10001", "531946")) != "<#login#>" ||
        ask(socket, Protocol::siteNameMessage("bench")) != "<#siteName#>") {
        std::fprintf(stderr, "cannot log in to weblark-hostd\n");
        return 1;
    }
    std::vector<double> uploadSeconds;
    double rssGrowth = 0;
    for (int run = 0; run < 3; ++run) {
        if (ask(socket, Protocol::sendFileInfoMessage(archiveBytes)) != "<#sendFileInfo#>") {
            std::fprintf(stderr, "upload refused\n");
            return 1;
        }
        ArchiveSender sender;
        QSignalSpy done(&sender, &ArchiveSender::completed);
        QSignalSpy failed(&sender, &ArchiveSender::failed);
        const double rssBefore = rssMb();
        QElapsedTimer t;
        t.start();
        if (!sender.sendZipFile(&socket, archive, archiveBytes)) {
            std::fprintf(stderr, "%s\n", qPrintable(sender.errorText()));
            return 1;
        }
        while (done.isEmpty() && failed.isEmpty())
            done.wait(60000);
        if (!failed.isEmpty()) {
            std::fprintf(stderr, "upload failed\n");
            return 1;
        }
        uploadSeconds.push_back(t.nsecsElapsed() / 1e9);
        rssGrowth = std::max(rssGrowth, rssMb() - rssBefore);
        // The server answers once it has published this upload.
        if (!ask(socket, Protocol::versionQuery()).startsWith("<#getversion#>")) {
            std::fprintf(stderr, "server did not come back after the upload\n");
            return 1;
        }
    }
    const bool stored = QFileInfo(tmp.path() + "/hostdata/sites/bench/ziptest.zip").size() == archiveBytes;
    hostd.write("quit\n");
    hostd.waitForFinished(10000);
    if (!stored) {
        std::fprintf(stderr, "the server did not store the archive\n");
        return 1;
    }
    std::printf("upload_mb_s %.1f MB/s\n", double(archiveBytes) / (1024.0 * 1024.0) / median(uploadSeconds));
    std::printf("upload_rss_growth_mb %.1f MB\n", rssGrowth);
    return 0;
}
