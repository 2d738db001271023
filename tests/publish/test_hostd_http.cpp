// The web side of the hosting server over loopback: an upload is rendered and
// served, requests that try to leave the site folder or hurt the server are
// refused, caching and ranges work, stalling and hoarding clients are cut off,
// and a site that fails to render keeps its previous rendering online.
#include "HostdClient.h"
#include "RenderJobs.h"
#include "TestAppDir.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>

namespace {

struct HttpReply {
    int status = 0;
    bool closed = false; // the server closed the connection after the response
    QByteArray head;     // status line and headers
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
// reads one response, or what arrived before the server closed; with
// waitForClose, also whether the server then closes the connection.
HttpReply exchange(quint16 port, const QByteArray& bytes, bool head = false, bool waitForClose = false)
{
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    HttpReply r;
    if (!s.waitForConnected(5000))
        return r;
    s.write(bytes);
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
    r.closed = waitForClose && (s.state() == QAbstractSocket::UnconnectedState || s.waitForDisconnected(5000));
    return r;
}

// A request for path with the given header lines.
QByteArray get(const QByteArray& path, const QByteArray& headers = {}, const QByteArray& method = "GET")
{
    return method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
}

QByteArray gunzip(const QByteArray& data)
{
    z_stream z{};
    QByteArray out(4 << 20, Qt::Uninitialized);
    inflateInit2(&z, 15 + 16);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const bool ok = inflate(&z, Z_FINISH) == Z_STREAM_END;
    out.truncate(qsizetype(z.total_out));
    inflateEnd(&z);
    return ok ? out : QByteArray("not gzip");
}

const QByteArray kSecret = "531946"; // the accounts file's passwords

} // namespace

class TestHostdHttp : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    TestAppDir m_app;
    TestHost m_host;
    Client m_client;

    QString www() const { return m_tmp.filePath("data/sites/s/www/"); }
    quint16 port() const { return m_host.server->httpPort(); }

    // Uploads a site with the given database, waits until the server has published
    // it and tried to render it, and tells whether the rendering succeeded.
    bool upload(const QByteArray& db)
    {
        const QByteArray archive = zipOf(m_tmp.filePath("up.zip"), {{"govbuilder.sbd", db}});
        if (m_client.ask(Protocol::sendFileInfoMessage(archive.size())) != QLatin1String("<#sendFileInfo#>"))
            return false;
        const qsizetype before = m_host.log.size();
        m_client.send(archive);
        return m_host.waitLogged("rendered for the web", before, 60000) &&
               m_host.waitLogged("site s rendered for the web:", before, 0);
    }

    // The test site's database, changed by the given statements.
    QByteArray siteDb(const QStringList& statements)
    {
        return siteDbWith(m_app.workPath() + "govbuilder.sbd", m_tmp.filePath("db/"), statements);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_app.isValid());
        SiteDb db(QStringLiteral("http-site"));
        QVERIFY(db.open(m_app.workPath()));
        db.run(QStringLiteral("UPDATE user_info SET gov_name=?, Tel=?"), {QStringLiteral("示例<单位>"), "010-5551234"});
        writeFile(m_tmp.filePath("accounts.txt"), "10001 " + kSecret + "\n");
        HostConfig cfg = TestHost::config(m_tmp.path());
        cfg.httpPort = 0;
        cfg.appPath = m_app.appPath();
        cfg.web.siteDomain = QStringLiteral("sites.test");
        cfg.render.program = QStringLiteral(WEBLARK_HOSTD);
        cfg.render.limits.maxReadSeconds = 1;
        cfg.render.publicUrl = QStringLiteral("https://{site}.sites.test/");
        cfg.render.searchIndexer = QStringLiteral(WEBLARK_SEARCH_INDEXER);
        m_host.start(cfg);
        QVERIFY(m_client.open(m_host.server->serverPort()));
        QCOMPARE(m_client.ask(Protocol::loginMessage("10001", kSecret)), QStringLiteral("<#login#>"));
        QCOMPARE(m_client.ask(Protocol::siteNameMessage("s")), QStringLiteral("<#siteName#>"));
    }

    // The uploaded site comes back as the renderer wrote it.
    void uploadThenBrowse()
    {
        QVERIFY(upload(readFile(m_app.workPath() + "govbuilder.sbd")));
        const HttpReply home = exchange(port(), get("/s/"));
        QCOMPARE(home.status, 200);
        QCOMPARE(home.body, readFile(www() + "index.htm"));
        QVERIFY(home.body.contains("010-5551234"));
        const HttpReply head = exchange(port(), get("/s/index.htm", {}, "HEAD"), true);
        QCOMPARE(head.status, 200);
        QCOMPARE(head.header("Content-Length").toInt(), home.body.size());
        QVERIFY(head.body.isEmpty());
        // Folders named without their slash are sent on to it, so relative links work.
        QCOMPARE(exchange(port(), get("/s")).header("Location"), QByteArray("/s/"));
        QCOMPARE(exchange(port(), get("/s/style")).header("Location"), QByteArray("/s/style/"));
        QCOMPARE(exchange(port(), get("/s/", {}, "POST")).status, 405);
        // The site's own address from the server's public one, and the search index the render child built.
        QVERIFY(readFile(www() + "sitemap.xml").contains("<loc>https://s.sites.test/</loc>"));
        if (QFileInfo(QStringLiteral(WEBLARK_SEARCH_INDEXER)).isExecutable())
            QCOMPARE(exchange(port(), get("/s/pagefind/pagefind-ui.js")).status, 200);
    }

    // Raw requests, hostile and ordinary, with the status, header lines and body
    // they must get ($TAG, $DATE and $SIZE stand for the home page's; a body
    // "gzip" must unpack to the home page) and whether the server then closes.
    void answers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("closes");
        const QByteArray home = readFile(www() + "index.htm");
        writeFile(www() + "gbk.htm", QStringEncoder("gb18030")(u"<meta charset=\"gb2312\"><title>本地</title>"));
        writeFile(www() + "plain.htm", QStringEncoder("gb18030")(u"<title>本地</title>"));
        const QByteArray pageType = "Content-Type: text/html; charset=";
        const auto row = [](const char* name, QByteArray bytes, int status, QByteArray body, QByteArrayList lines = {},
                            bool closes = false) { QTest::newRow(name) << bytes << status << lines << body << closes; };
        row("HTTP/1.1 without Host", "GET /s/ HTTP/1.1\r\n\r\n", 400, {}, {}, true);
        row("two Hosts", get("/s/", "Host: x\r\n"), 400, {}, {}, true);
        row("HTTP/1.0", "GET /s/ HTTP/1.0\r\n\r\n", 200, home, {}, true);
        row("Connection: close", get("/s/", "Connection: close\r\n"), 200, home, {}, true);
        row("header line over 8 KB", get("/s/", "X: " + QByteArray(8200, 'a') + "\r\n"), 431, {}, {}, true);
        row("101 headers", get("/s/", QByteArray("X: y\r\n").repeated(101)), 431, {}, {}, true);
        row("endless header line", "GET /s/ HTTP/1.1\r\nHost: x\r\nX: " + QByteArray(60000, 'a'), 431, {}, {}, true);
        row("GET with a large body", get("/s/", "Content-Length: 100000\r\n"), 413, {}, {}, true);
        row("GET with a chunked body", get("/s/", "Transfer-Encoding: chunked\r\n"), 413, {}, {}, true);
        row("GET with a small body", get("/s/", "Content-Length: 5\r\n") + "hello", 200, home);
        row("tag unchanged", get("/s/", "If-None-Match: \"x\", $TAG\r\n"), 304, {}, {"ETag: $TAG"});
        row("tag changed", get("/s/", "If-None-Match: \"x\"\r\n"), 200, home, {"Cache-Control: no-cache"});
        row("date unchanged", get("/s/", "If-Modified-Since: $DATE\r\n"), 304, {});
        row("first bytes", get("/s/", "Range: bytes=0-9\r\n"), 206, home.left(10), {"Content-Range: bytes 0-9/$SIZE"});
        row("last bytes", get("/s/", "Range: bytes=-5\r\n"), 206, home.right(5));
        row("range beyond the end", get("/s/", "Range: bytes=$SIZE-\r\n"), 416, {}, {"Content-Range: bytes */$SIZE"});
        row("range of another version", get("/s/", "Range: bytes=0-9\r\nIf-Range: \"old\"\r\n"), 200, home);
        row("gzip", get("/s/", "Accept-Encoding: deflate, gzip\r\n"), 200, "gzip",
            {"Content-Encoding: gzip", "Vary: Accept-Encoding"});
        row("gzip refused", get("/s/", "Accept-Encoding: gzip;q=0\r\n"), 200, home, {pageType + "utf-8"});
        row("style sheet", get("/s/style/site.css?v=2"), 200, readFile(www() + "style/site.css"),
            {"Content-Type: text/css; charset=utf-8", "Cache-Control: max-age=86400"});
        row("site name in other case", get("/S/p1.htm"), 301, {}, {"Location: /s/p1.htm"});
        row("site by host", "GET / HTTP/1.1\r\nHost: S.Sites.Test:80\r\n\r\n", 200, home);
        row("unknown site by host", "GET / HTTP/1.1\r\nHost: t.sites.test\r\n\r\n", 404, {});
        row("missing page", get("/s/nothing.htm"), 404, readFile(www() + "404.htm"), {pageType + "utf-8"});
        row("missing page below a folder", get("/s/a/b/nothing.htm"), 404,
            readFile(www() + "404.htm").replace("<head>", "<head><base href=\"../../\">"), {pageType + "utf-8"});
        row("page in GB2312", get("/s/gbk.htm"), 200, {}, {pageType + "gb2312"});
        row("undeclared GBK page", get("/s/plain.htm"), 200, {}, {pageType + "gb18030"});
    }
    void answers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QByteArrayList, lines);
        QFETCH(QByteArray, body);
        QFETCH(bool, closes);
        const HttpReply home = exchange(port(), get("/s/"));
        const auto fill = [&](QByteArray text) {
            return text.replace("$TAG", home.header("ETag"))
                .replace("$DATE", home.header("Last-Modified"))
                .replace("$SIZE", QByteArray::number(home.body.size()));
        };
        const HttpReply r = exchange(port(), fill(bytes), false, closes);
        QCOMPARE(r.status, status);
        for (const QByteArray& line : lines)
            QVERIFY2(r.head.contains("\r\n" + fill(line) + "\r\n"), r.head.constData());
        if (body == "gzip")
            QCOMPARE(gunzip(r.body), home.body);
        else if (!body.isEmpty())
            QCOMPARE(r.body, body);
        QCOMPARE(r.closed, closes);
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
        const HttpReply r = exchange(port(), get(target));
        QCOMPARE(r.status, status);
        QVERIFY(!r.body.contains(kSecret) && !r.body.contains("SQLite"));
    }

    // A client that never finishes its request head and one that idles after a
    // response are closed; an address that hoards connections is refused more,
    // and beyond the connection limit a visitor waits for a free place.
    void stallingAndHoarding()
    {
        WebOptions slowHead, idle, few;
        slowHead.headerTimeoutS = idle.idleTimeoutS = 1;
        slowHead.idleTimeoutS = idle.headerTimeoutS = 300;
        few.threads = 1;
        few.maxPerAddress = 2;
        few.maxConnections = 4;
        const QString sites = m_tmp.filePath("data/sites");
        SiteWebServer a(sites, slowHead), b(sites, idle), c(sites, few);
        QString error;
        QVERIFY(a.listen(QHostAddress::LocalHost, 0, &error) && b.listen(QHostAddress::LocalHost, 0, &error) &&
                c.listen(QHostAddress::LocalHost, 0, &error));
        const auto open = [](quint16 port, const char* from, const QByteArray& bytes) {
            auto s = std::make_unique<QTcpSocket>();
            s->bind(QHostAddress(QString::fromLatin1(from)));
            s->connectToHost(QHostAddress::LocalHost, port);
            s->waitForConnected(5000);
            s->write(bytes);
            return s;
        };
        const auto answered = [](QTcpSocket& s) {
            return s.waitForReadyRead(5000) && s.readAll().startsWith("HTTP/1.1 200");
        };
        const auto stalled = open(a.serverPort(), "127.0.0.1", "GET /s/ HTTP/1.1\r\nHost: x\r\n");
        const auto resting = open(b.serverPort(), "127.0.0.1", get("/s/"));
        QVERIFY(answered(*resting));
        QVERIFY(stalled->waitForDisconnected(10000) && resting->waitForDisconnected(10000));

        const auto first = open(c.serverPort(), "127.0.0.1", get("/s/"));
        const auto second = open(c.serverPort(), "127.0.0.1", get("/s/"));
        QVERIFY(answered(*first) && answered(*second));
        const auto third = open(c.serverPort(), "127.0.0.1", get("/s/"));
        QVERIFY(third->waitForDisconnected(5000) && !third->readAll().startsWith("HTTP"));
        const auto other = open(c.serverPort(), "127.0.0.2", get("/s/"));
        const auto another = open(c.serverPort(), "127.0.0.2", get("/s/"));
        QVERIFY(answered(*other) && answered(*another));
        const auto waiting = open(c.serverPort(), "127.0.0.3", get("/s/"));
        QVERIFY(!waiting->waitForReadyRead(1000));
        first->abort();
        QVERIFY(answered(*waiting));
    }

    // A database the renderer cannot read, or that never ends, is still published
    // (the upload itself was fine) without waiting for the rendering, but visitors
    // keep getting the previous rendering.
    void failedRenderKeepsThePreviousSite_data()
    {
        QTest::addColumn<QStringList>("change");
        QTest::newRow("not a database") << QStringList{"garbage"};
        QTest::newRow("a view without end") << endlessView();
    }
    void failedRenderKeepsThePreviousSite()
    {
        QFETCH(QStringList, change);
        const QByteArray before = exchange(port(), get("/s/")).body;
        QVERIFY(!before.isEmpty());
        const QByteArray db = change == QStringList{"garbage"} ? QByteArray("not a database") : siteDb(change);
        m_host.log.clear();
        QVERIFY(!upload(db));
        QVERIFY(m_host.log.indexOf(QRegularExpression(".*site s published.*")) <
                m_host.log.indexOf(QRegularExpression(".*could not be rendered.*")));
        QCOMPARE(readFile(m_tmp.filePath("data/sites/s/site/govbuilder.sbd")), db);
        QCOMPARE(exchange(port(), get("/s/")).body, before);
        QVERIFY(!QFileInfo::exists(m_tmp.filePath("data/sites/s/www.staging")));
    }

    // A rendering made endless or huge by a crafted upload is stopped by a limit
    // and leaves the previous rendering online; a file that cannot be written
    // (here past the file-size limit, as on a full disk) fails it, naming the
    // file; a name too long to draw is shown as text.
    void renderingsAreBounded_data()
    {
        QTest::addColumn<RenderOptions>("options");
        QTest::addColumn<QStringList>("change");
        QTest::addColumn<QString>("logged");
        const auto row = [](const char* name, const QStringList& change, const QString& logged,
                            const std::function<void(RenderOptions&)>& limit) {
            RenderOptions options;
            options.program = QStringLiteral(WEBLARK_HOSTD);
            limit(options);
            QTest::newRow(name) << options << change << logged;
        };
        row("endless view: read limit", endlessView(), "读取网站数据库超过 1 秒",
            [](RenderOptions& o) { o.limits.maxReadSeconds = 1; });
        row("endless view: wall clock", endlessView(), "killed after 2 s", [](RenderOptions& o) { o.wallSeconds = 2; });
        const QStringList fivePages{"INSERT INTO firstCatalog(firstCatalog, [catalog], aspFileName, orderID) "
                                    "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < 5) "
                                    "SELECT 'p' || n, 0, 'txt', n FROM r"};
        row("pages", fivePages, "网站超过 2 页的上限", [](RenderOptions& o) { o.limits.maxPages = 2; });
        row("output", fivePages, "生成的网站超过 8000 字节的上限",
            [](RenderOptions& o) { o.limits.maxOutputBytes = 8000; });
        row("file size", {"UPDATE user_info SET defaultFile='home.htm'"},
            "无法复制文件：" + m_tmp.filePath("bounded/site/images/big.bin"),
            [](RenderOptions& o) { o.maxFileBytes = 100000; });
        row("long name", {}, "rendered for the web: ", [](RenderOptions& o) { o.limits.maxNameChars = 3; });
    }
    void renderingsAreBounded()
    {
        QFETCH(RenderOptions, options);
        QFETCH(QStringList, change);
        QFETCH(QString, logged);
        const QString folder = m_tmp.filePath("bounded/");
        QDir(folder).removeRecursively();
        writeFile(folder + "site/govbuilder.sbd", siteDb(change));
        writeFile(folder + "site/home.htm", "<title>home</title>");
        writeFile(folder + "site/images/big.bin", QByteArray(200000, 'b'));
        writeFile(folder + "www/index.htm", "previous");
        RenderJobs jobs(m_app.appPath(), options);
        QStringList log;
        connect(&jobs, &RenderJobs::logLine, this, [&](const QString& line) { log << line; });
        QSignalSpy done(&jobs, &RenderJobs::rendered);
        jobs.request("b", folder);
        QVERIFY(done.wait(60000));
        QVERIFY2(log.join('\n').contains(logged), qPrintable(log.join('\n')));
        const bool rendered = logged.startsWith("rendered");
        QCOMPARE(done.at(0).at(1).toBool(), rendered);
        QCOMPARE(readFile(folder + "www/index.htm") == "previous", !rendered);
        QVERIFY(!QFileInfo::exists(folder + "www.staging"));
        if (rendered)
            QVERIFY(log.join('\n').contains("单位名称超过 3 个字，用文字显示"));
    }
};

QTEST_GUILESS_MAIN(TestHostdHttp)
#include "test_hostd_http.moc"
