// The web side of the hosting server over loopback: an upload is rendered and
// served, requests that try to leave the site folder are refused, and a site that
// fails to render keeps its previous rendering online.
#include "HostServer.h"
#include "HostdClient.h"
#include "TestAppDir.h"
#include "data/SiteDb.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct HttpReply {
    int status = 0;
    QByteArray head; // status line and headers
    QByteArray body;
    QByteArray header(const QByteArray& name) const
    {
        for (const QByteArray& line : head.split('\n')) {
            if (line.toLower().startsWith(name.toLower() + ':'))
                return line.mid(name.size() + 1).trimmed();
        }
        return {};
    }
};

// Sends the request bytes as they are (no client library to tidy the path) and
// reads one response, or what arrived before the server closed.
HttpReply request(quint16 port, const QByteArray& requestLine, bool head = false)
{
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    HttpReply r;
    if (!s.waitForConnected(5000))
        return r;
    s.write(requestLine + "\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray got;
    qsizetype end = -1;
    while ((end = got.indexOf("\r\n\r\n")) < 0 && s.waitForReadyRead(5000))
        got += s.readAll();
    if (end < 0)
        return r;
    r.head = got.left(end);
    r.status = r.head.mid(9, 3).toInt();
    const qsizetype length = head ? 0 : r.header("Content-Length").toLongLong();
    r.body = got.mid(end + 4);
    while (r.body.size() < length && s.waitForReadyRead(5000))
        r.body += s.readAll();
    return r;
}

const QByteArray kSecret = "531946"; // the accounts file's passwords

} // namespace

class TestHostdHttp : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    TestAppDir m_app;
    std::unique_ptr<HostServer> m_server;
    QStringList m_log;
    Client m_client;

    QString www() const { return m_tmp.filePath("data/sites/s/www/"); }
    quint16 port() const { return m_server->httpPort(); }

    // Uploads a site with the given database, waits until the server has published
    // it and tried to render it, and tells whether the rendering succeeded.
    bool upload(const QByteArray& db)
    {
        const QByteArray archive = zipOf(m_tmp.filePath("up.zip"), {{"govbuilder.sbd", db}});
        if (m_client.ask(Protocol::sendFileInfoMessage(archive.size())) != QLatin1String("<#sendFileInfo#>"))
            return false;
        const qsizetype before = m_log.size();
        m_client.send(archive);
        const auto said = [&](const char* text) { return m_log.mid(before).join('\n').contains(QLatin1String(text)); };
        return QTest::qWaitFor([&] { return said("rendered for the web"); }, 60000) &&
               said("site s rendered for the web:");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_app.isValid());
        SiteDb db(QStringLiteral("http-site"));
        QVERIFY(db.open(m_app.workPath()));
        db.run(QStringLiteral("UPDATE user_info SET gov_name=?, Tel=?"), {QStringLiteral("示例<单位>"), "010-5551234"});
        writeFile(m_tmp.filePath("accounts.txt"), "10001 " + kSecret + "\n");
        HostConfig cfg;
        cfg.port = 0;
        cfg.httpPort = 0;
        cfg.accountsFile = m_tmp.filePath("accounts.txt");
        cfg.dataDir = m_tmp.filePath("data");
        cfg.appPath = m_app.appPath();
        cfg.messageGapMs = 5;
        m_server = std::make_unique<HostServer>(cfg);
        connect(m_server.get(), &HostServer::logLine, this, [this](const QString& l) { m_log << l; });
        QString error;
        QVERIFY2(m_server->listen(&error), qPrintable(error));
        QVERIFY(m_client.open(m_server->serverPort()));
        QCOMPARE(m_client.ask(Protocol::loginMessage("10001", kSecret)), QStringLiteral("<#login#>"));
        QCOMPARE(m_client.ask(Protocol::siteNameMessage("s")), QStringLiteral("<#siteName#>"));
    }

    // The uploaded site comes back as the renderer wrote it, with its type.
    void uploadThenBrowse()
    {
        QVERIFY(upload(readFile(m_app.workPath() + "govbuilder.sbd")));
        const HttpReply home = request(port(), "GET /s/ HTTP/1.1");
        QCOMPARE(home.status, 200);
        QCOMPARE(home.body, readFile(www() + "index.htm"));
        QVERIFY(home.body.contains("010-5551234"));
        QVERIFY(home.header("Content-Type").startsWith("text/html"));
        const HttpReply head = request(port(), "HEAD /s/index.htm HTTP/1.1", true);
        QCOMPARE(head.status, 200);
        QCOMPARE(head.header("Content-Length").toInt(), home.body.size());
        QVERIFY(head.body.isEmpty());
        const HttpReply style = request(port(), "GET /s/style/site.css?v=2 HTTP/1.1");
        QCOMPARE(style.body, readFile(www() + "style/site.css"));
        QCOMPARE(style.header("Content-Type"), QByteArray("text/css; charset=utf-8"));
        // Folders named without their slash are sent on to it, so relative links work.
        QCOMPARE(request(port(), "GET /s HTTP/1.1").header("Location"), QByteArray("/s/"));
        QCOMPARE(request(port(), "GET /s/style HTTP/1.1").header("Location"), QByteArray("/s/style/"));
        QCOMPARE(request(port(), "POST /s/ HTTP/1.1").status, 405);
    }

    // Each way out of the site folder, sent raw, is refused without a byte of
    // what lies outside.
    void refusedTargets_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("status");
        QTest::newRow("dot-dot") << QByteArray("/s/../../../accounts.txt") << 404;
        QTest::newRow("encoded dot-dot") << QByteArray("/s/%2e%2e/%2E%2E/%2e%2e/accounts.txt") << 404;
        QTest::newRow("encoded slash") << QByteArray("/s/..%2f..%2f..%2faccounts.txt") << 404;
        QTest::newRow("encoded backslash") << QByteArray("/s/..%5c..%5c..%5caccounts.txt") << 404;
        QTest::newRow("backslash") << QByteArray("/s/..\\..\\..\\accounts.txt") << 404;
        QTest::newRow("absolute path") << QByteArray("//etc/passwd") << 404;
        QTest::newRow("empty segment") << QByteArray("/s//etc/passwd") << 404;
        QTest::newRow("site name dot-dot") << QByteArray("/../accounts.txt") << 404;
        QTest::newRow("the unpacked upload") << QByteArray("/s/../site/govbuilder.sbd") << 404;
        QTest::newRow("link out of the folder") << QByteArray("/s/out.txt") << 404;
        QTest::newRow("folder without index") << QByteArray("/s/empty/") << 404;
        QTest::newRow("NUL") << QByteArray("/s/index.htm%00.png") << 404;
        QTest::newRow("missing file") << QByteArray("/s/nothing.htm") << 404;
        QTest::newRow("unknown site") << QByteArray("/t/") << 404;
        QTest::newRow("over-long") << "/s/" + QByteArray(5000, 'a') << 414;
    }
    void refusedTargets()
    {
        QFETCH(QByteArray, target);
        QFETCH(int, status);
        QVERIFY(QFile::link(m_tmp.filePath("accounts.txt"), www() + "out.txt") ||
                QFileInfo(www() + "out.txt").isSymLink());
        QDir().mkpath(www() + "empty");
        const HttpReply r = request(port(), "GET " + target + " HTTP/1.1");
        QCOMPARE(r.status, status);
        QVERIFY(!r.body.contains(kSecret) && !r.body.contains("SQLite"));
    }

    // A database the renderer cannot read is still published (the upload itself
    // was fine), but visitors keep getting the previous rendering.
    void failedRenderKeepsThePreviousSite()
    {
        const QByteArray before = request(port(), "GET /s/ HTTP/1.1").body;
        QVERIFY(!before.isEmpty());
        QVERIFY(!upload("not a database"));
        QCOMPARE(readFile(m_tmp.filePath("data/sites/s/site/govbuilder.sbd")), QByteArray("not a database"));
        QCOMPARE(request(port(), "GET /s/ HTTP/1.1").body, before);
        QVERIFY(!QFileInfo::exists(m_tmp.filePath("data/sites/s/www.staging")));
    }
};

QTEST_GUILESS_MAIN(TestHostdHttp)
#include "test_hostd_http.moc"
