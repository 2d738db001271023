// The sync of changed files against weblark-hostd over loopback, on the
// workspace of bench_publish: a full publish, then one news item added (the
// database grows by one row) and published again as a sync; and the manifest
// of 5,000 pictures with a warm hash cache.
#include "BenchWorkspace.h"
#include "publish/ArchiveSender.h"
#include "publish/Protocol.h"
#include "publish/SitePacker.h"
#include "publish/SyncManifest.h"
#include "publish/WorkspaceManifest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <zip.h>

#include <algorithm>
#include <vector>

namespace {

[[noreturn]] void die(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

// The client's end: counts every byte both ways.
struct Wire {
    QTcpSocket socket;
    qint64 sent = 0;
    qint64 received = 0;

    void send(const QByteArray& bytes)
    {
        sent += bytes.size();
        socket.write(bytes);
    }
    // The next reply that starts with one of the tags (earlier ones are dropped).
    QString await(const QStringList& tags, int ms = 120000)
    {
        QByteArray got;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (socket.bytesAvailable() || socket.waitForReadyRead(int(ms - t.elapsed()))) {
                const QByteArray b = socket.readAll();
                received += b.size();
                got += b;
                // Replies are written whole; wait briefly for the rest of a long one.
                while (socket.waitForReadyRead(5)) {
                    const QByteArray more = socket.readAll();
                    received += more.size();
                    got += more;
                }
                const QString text = Protocol::fromWire(got);
                for (const QString& tag : tags) {
                    if (text.contains(tag))
                        return text.mid(text.indexOf(tag));
                }
            }
        }
        return {};
    }
    QString ask(const QString& message, const QStringList& tags)
    {
        send(Protocol::toWire(message));
        return await(tags);
    }
    void sendFile(const QString& path)
    {
        const qint64 size = QFileInfo(path).size();
        if (!ask(Protocol::sendFileInfoMessage(size), {"<#sendFileInfo#>", "<#errMsg#>"})
                 .startsWith("<#sendFileInfo#>"))
            die("upload refused");
        ArchiveSender sender;
        QSignalSpy done(&sender, &ArchiveSender::completed);
        QSignalSpy failed(&sender, &ArchiveSender::failed);
        if (!sender.sendZipFile(&socket, path, size))
            die("cannot send the archive");
        while (done.isEmpty() && failed.isEmpty())
            done.wait(60000);
        if (!failed.isEmpty())
            die("upload failed");
        sent += size;
    }
};

qint64 compressedSize(const QString& zipPath, const char* entry)
{
    int err = 0;
    zip_t* za = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &err);
    zip_stat_t st;
    const bool ok = za && zip_stat(za, entry, 0, &st) == 0;
    if (za)
        zip_discard(za);
    return ok ? qint64(st.comp_size) : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
    const QString dbPath = work + QStringLiteral("govbuilder.sbd");
    makeWorkspace(work);
    const QString accounts = tmp.path() + QStringLiteral("/accounts.txt");
    writeFile(accounts, "10001 531946\n");
    QProcess hostd;
    hostd.setStandardErrorFile(QProcess::nullDevice());
    hostd.start(QStringLiteral(WEBLARK_HOSTD),
                {"--port", "0", "--accounts", accounts, "--data", tmp.path() + "/hostdata"});
    if (!hostd.waitForReadyRead(10000))
        die("weblark-hostd did not start");
    const quint16 port = quint16(hostd.readLine().trimmed().mid(10).toUInt());
    Wire wire;
    wire.socket.connectToHost(QHostAddress::LocalHost, port);
    if (!wire.socket.waitForConnected(5000) ||
        wire.ask(Protocol::loginMessage("10001", "531946"), {"<#login#>", "<#logout#>"}) != "<#login#>" ||
        wire.ask(Protocol::siteNameMessage("bench"), {"<#siteName#>", "<#errMsg#>"}) != "<#siteName#>")
        die("cannot log in to weblark-hostd");

    // The full publish: pack, send, and the swap (an empty offer is answered once the publish is done).
    QElapsedTimer t;
    t.start();
    {
        SitePacker packer(appPath, work);
        if (!packer.zipSiteData())
            die("packing failed");
        wire.sendFile(packer.uploadArchivePath());
        if (!wire.ask(SyncManifest::offerMessage({}), {"<#syncNeed#>", "<#errMsg#>"}).startsWith("<#syncNeed#>"))
            die("the server did not publish the full upload");
    }
    const double fullMs = t.nsecsElapsed() / 1e6;

    // The cache is warm after the first publish's manifest.
    const QString cacheFile = appPath + HashCache::fileName();
    {
        HashCache cache(cacheFile);
        SyncManifest::List entries;
        QString error;
        QThread::msleep(2100); // files hashed in the instant they were written are hashed again
        if (!WorkspaceManifest::build(work, dbPath, readAll(dbPath), cache, &entries, &error))
            die("manifest failed");
        cache.save();
    }

    // One news item added: the database grows by one row.
    {
        QFile db(dbPath);
        if (!db.open(QIODevice::Append) ||
            db.write(QStringLiteral("INSERT INTO content02 VALUES(99999,'新的新闻','2026-12-07','正文');\n").toUtf8()) <
                0)
            die("cannot edit the database");
    }
    wire.sent = wire.received = 0;
    t.restart();
    QString need;
    QByteArray manifest;
    QStringList paths;
    QString deltaPath;
    double phases[4] = {};
    {
        const QByteArray db = readAll(dbPath);
        HashCache cache(cacheFile);
        SyncManifest::List entries;
        QString error;
        if (!WorkspaceManifest::build(work, dbPath, db, cache, &entries, &error))
            die("manifest failed");
        cache.save();
        phases[0] = t.nsecsElapsed() / 1e6;
        need = wire.ask(SyncManifest::offerMessage(entries), {"<#syncNeed#>", "<#errMsg#>"});
        if (!need.startsWith("<#syncNeed#>") || !SyncManifest::decodeNeed(Protocol::toWire(need.mid(12)), &paths))
            die("sync offer refused");
        if (!paths.contains("govbuilder.sbd"))
            paths << "govbuilder.sbd";
        phases[1] = t.nsecsElapsed() / 1e6;
        SitePacker packer(appPath, work);
        packer.useSnapshot(dbPath, db);
        if (!packer.zipChanges(paths, SyncManifest::encode(entries)))
            die("packing the changes failed");
        deltaPath = packer.uploadArchivePath();
        phases[2] = t.nsecsElapsed() / 1e6;
        wire.sendFile(deltaPath);
        phases[3] = t.nsecsElapsed() / 1e6;
        if (!wire.await({"<#syncDone#>", "<#errMsg#>"}).startsWith("<#syncDone#>"))
            die("the sync was not published");
    }
    const double syncMs = t.nsecsElapsed() / 1e6;
    const qint64 wireBytes = wire.sent + wire.received;
    const qint64 limit = compressedSize(deltaPath, "govbuilder.sbd") + 64 * 1024;
    hostd.write("quit\n");
    hostd.waitForFinished(10000);

    std::printf("full_publish_ms %.0f ms\n", fullMs);
    std::printf("sync_ms_one_edit %.0f ms\n", syncMs);
    std::printf("sync_bytes_one_edit %lld bytes\n", static_cast<long long>(wireBytes));
    std::printf("sync_bytes_limit %lld bytes (compressed database + 64 KB)\n", static_cast<long long>(limit));
    std::printf("sync_phases_ms manifest %.0f, answered %.0f, packed %.0f, sent %.0f, swapped %.0f ms\n", phases[0],
                phases[1], phases[2], phases[3], syncMs);
    std::printf("sync_files_one_edit %lld files\n", static_cast<long long>(paths.size()));

    // The manifest of 5,000 pictures with a warm hash cache.
    const QString many = tmp.path() + QStringLiteral("/many/");
    QDir().mkpath(many + "images");
    Rng rng{42};
    for (int i = 0; i < 5000; ++i)
        writeFile(many + QStringLiteral("images/p%1.jpg").arg(i), randomBytes(rng, 4096));
    writeFile(many + "govbuilder.sbd", randomBytes(rng, 512 * 1024));
    const QString manyCache = tmp.path() + QStringLiteral("/many-cache.txt");
    const QByteArray manyDb = readAll(many + "govbuilder.sbd");
    QThread::msleep(2100);
    std::vector<double> ms;
    for (int run = 0; run < 6; ++run) {
        QElapsedTimer tm;
        tm.start();
        HashCache cache(manyCache);
        SyncManifest::List entries;
        QString error;
        if (!WorkspaceManifest::build(many, many + "govbuilder.sbd", manyDb, cache, &entries, &error) ||
            entries.size() != 5001)
            die("manifest of 5,000 pictures failed");
        cache.save();
        if (run > 0) // the first run fills the cache
            ms.push_back(tm.nsecsElapsed() / 1e6);
    }
    std::printf("sync_manifest_ms %.1f ms (5,000 pictures, warm cache)\n", median(ms));
    return 0;
}
