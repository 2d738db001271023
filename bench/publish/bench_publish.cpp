// Publishing throughput: packing a large workspace (against the zip command on
// the same files) and streaming the archive to weblark-hostd over loopback.
#include "BenchWorkspace.h"
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
