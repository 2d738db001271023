// The reference hosting server over a real loopback connection: the replies to
// every client message, the accounts and site names it keeps, and how uploads
// are stored, unpacked or refused.
#include "HostServer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "publish/ArchiveSender.h"
#include "publish/Protocol.h"
#include "publish/SitePacker.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <zip.h>

namespace {

// A zip with the given raw entry names, for archives the packer would never write.
bool makeZip(const QString& path, const QList<QPair<QByteArray, QByteArray>>& entries) {
    QFile::remove(path);
    int err = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!za)
        return false;
    for (const auto& e : entries) {
        zip_source_t* src = zip_source_buffer(za, e.second.constData(), zip_uint64_t(e.second.size()), 0);
        if (zip_file_add(za, e.first.constData(), src, ZIP_FL_ENC_RAW) < 0) {
            zip_source_free(src);
            zip_discard(za);
            return false;
        }
    }
    return zip_close(za) == 0;
}

// Every file below a folder, as relative path -> content.
QMap<QString, QByteArray> tree(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        out.insert(QDir(folder).relativeFilePath(p), readFile(p));
    }
    return out;
}

struct Client {
    QTcpSocket socket;
    QByteArray got;

    bool open(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { got += socket.readAll(); });
        QSignalSpy connected(&socket, &QTcpSocket::connected);
        socket.connectToHost(QHostAddress::LocalHost, port);
        return connected.wait(5000);
    }
    void send(const QByteArray& wire) { socket.write(wire); }
    // Sends one message and returns the reply, "" when none came.
    QString ask(const QString& message, int timeoutMs = 3000) {
        got.clear();
        send(Protocol::toWire(message));
        return waitReply(timeoutMs);
    }
    QString waitReply(int timeoutMs = 3000) {
        QElapsedTimer t;
        t.start();
        while (got.isEmpty() && t.elapsed() < timeoutMs)
            QTest::qWait(5);
        QTest::qWait(20); // the rest of a reply that came in pieces
        const QString reply = Protocol::fromWire(got);
        got.clear();
        return reply;
    }
    bool closedWithin(int timeoutMs) {
        QElapsedTimer t;
        t.start();
        while (socket.state() == QAbstractSocket::ConnectedState && t.elapsed() < timeoutMs)
            QTest::qWait(10);
        return socket.state() != QAbstractSocket::ConnectedState;
    }
};

} // namespace

class TestHostd : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<HostServer> m_server;
    QStringList m_log;

    QString accountsFile() const { return m_tmp->filePath(QStringLiteral("accounts.txt")); }
    QString dataDir() const { return m_tmp->filePath(QStringLiteral("data")); }
    QString siteFolder(const QString& name) const {
        return dataDir() + QStringLiteral("/sites/") + name + QLatin1Char('/');
    }

    void startServer(qint64 maxUpload = 8 * 1024 * 1024) {
        m_server.reset();
        HostConfig cfg;
        cfg.port = 0;
        cfg.accountsFile = accountsFile();
        cfg.dataDir = dataDir();
        cfg.noticeFile = m_tmp->filePath(QStringLiteral("notice.htm"));
        cfg.maxUploadBytes = maxUpload;
        m_server = std::make_unique<HostServer>(cfg);
        connect(m_server.get(), &HostServer::logLine, [this](const QString& l) { m_log << l; });
        QString error;
        QVERIFY2(m_server->listen(&error), qPrintable(error));
    }

    // A connected client, logged in as account and holding site (when given).
    void loggedIn(Client& c, const QString& account, const QString& site = QString()) {
        QVERIFY(c.open(m_server->serverPort()));
        QCOMPARE(c.ask(Protocol::loginMessage(account, QStringLiteral("531946"))),
                 QStringLiteral("<#login#>"));
        if (!site.isEmpty())
            QCOMPARE(c.ask(Protocol::siteNameMessage(site)), QStringLiteral("<#siteName#>"));
    }

    // Announces and streams an archive; returns whether the server published it.
    bool upload(Client& c, const QString& archive, QString* lateReply = nullptr) {
        const qint64 size = QFileInfo(archive).size();
        if (c.ask(Protocol::sendFileInfoMessage(size)) != QLatin1String("<#sendFileInfo#>"))
            return false;
        QSignalSpy finished(m_server.get(), &HostServer::uploadFinished);
        ArchiveSender sender;
        if (!sender.sendZipFile(&c.socket, archive, size))
            return false;
        if (!finished.wait(20000))
            return false;
        const QString reply = c.waitReply(300);
        if (lateReply)
            *lateReply = reply;
        return finished.at(0).at(1).toBool();
    }

    QString packedWorkspace(const QString& marker) {
        const QString app = m_tmp->filePath(QStringLiteral("app/"));
        const QString work = app + QStringLiteral("userImages/");
        QDir(app).removeRecursively();
        writeFile(work + "govbuilder.sbd", ("database " + marker).toUtf8().repeated(1000));
        writeFile(work + "新闻.jpg", QByteArray(30000, 'j') + marker.toUtf8());
        writeFile(work + "images/a.jpg", QByteArray(20000, 'a') + marker.toUtf8());
        writeFile(work + "images/产品.gif", QByteArray(100, 'g'));
        SitePacker packer(app, work);
        return packer.zipSiteData() ? packer.uploadArchivePath() : QString();
    }

private Q_SLOTS:
    void init() {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        writeFile(
            accountsFile(),
            "# account password\n10001 531946\n10002 531946\n\n10003 other pw\n10004 a<#getversion#>b\n");
        writeFile(m_tmp->filePath(QStringLiteral("notice.htm")),
                 QStringLiteral("<p>系统公告：新版本 3.06</p>").toUtf8());
        m_log.clear();
        startServer();
    }
    void cleanup() {
        m_server.reset();
        m_tmp.reset();
    }

    void login_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("reply");
        QTest::newRow("right password") << "<#login#>10001||531946"
                                        << "<#login#>";
        QTest::newRow("password with a blank") << "<#login#>10003||other pw"
                                               << "<#login#>";
        QTest::newRow("wrong password") << "<#login#>10001||531947"
                                        << "<#logout#>";
        QTest::newRow("trailing blank") << "<#login#>10001||531946 "
                                        << "<#logout#>";
        QTest::newRow("unknown account") << "<#login#>99999||531946"
                                         << "<#logout#>";
        QTest::newRow("comment line is no account") << "<#login#>#||account password"
                                                    << "<#logout#>";
        QTest::newRow("no separator") << "<#login#>10001531946"
                                      << "<#logout#>";
        QTest::newRow("empty") << "<#login#>"
                               << "<#logout#>";
    }
    void login() {
        QFETCH(QString, message);
        QFETCH(QString, reply);
        Client c;
        QVERIFY(c.open(m_server->serverPort()));
        QCOMPARE(c.ask(message), reply);
    }

    void siteNames() {
        Client a, b, anonymous;
        loggedIn(a, "10001");
        loggedIn(b, "10002");
        QVERIFY(anonymous.open(m_server->serverPort()));
        struct Step {
            Client* client;
            const char* name;
            const char* reply;
        };
        const Step steps[] = {
            {&anonymous, "free1", "<#errMsg#>"}, // not logged in
            {&a, "abc1", "<#siteName#>"},        {&b, "abc1", "<#siteNameExist#>"},
            {&b, "ABC1", "<#siteNameExist#>"}, // names are domain labels: case does not matter
            {&b, "ab-c", "<#errMsg#>"},          {&b, "网站", "<#errMsg#>"},
            {&b, "../etc", "<#errMsg#>"},        {&a, "abc1", "<#siteName#>"}, // its own name again
            {&b, "other2", "<#siteName#>"},      {&a, "other2", "<#siteNameExist#>"},
        };
        for (const Step& s : steps)
            QCOMPARE(s.client->ask(Protocol::siteNameMessage(QString::fromUtf8(s.name))),
                     QString::fromLatin1(s.reply));

        // The owners outlive the server.
        startServer();
        Client b2;
        loggedIn(b2, "10002");
        QCOMPARE(b2.ask(Protocol::siteNameMessage("abc1")), QStringLiteral("<#siteNameExist#>"));
        QCOMPARE(m_server->store().siteOf("10002"), QStringLiteral("other2"));
        QVERIFY(!QFileInfo::exists(dataDir() + "/sites/etc") && !QFileInfo::exists(m_tmp->filePath("etc")));
    }

    void renameMovesThePublishedSite() {
        Client c;
        loggedIn(c, "10001", "first");
        const QString archive = packedWorkspace("v1");
        QVERIFY(upload(c, archive));
        QCOMPARE(c.ask(Protocol::siteNameMessage("second")), QStringLiteral("<#siteName#>"));
        QVERIFY(!QFileInfo::exists(siteFolder("first")));
        QCOMPARE(readFile(siteFolder("second") + "ziptest.zip"), readFile(archive));
        // The old name is free again.
        Client other;
        loggedIn(other, "10002", "first");
    }

    void passwordChange() {
        Client c;
        loggedIn(c, "10002");
        QCOMPARE(c.ask(Protocol::modPwdMessage("新 pass ")), QStringLiteral("<#modPwd#>"));
        // Only the account's line changes; comments and blank lines stay.
        QCOMPARE(QString::fromUtf8(readFile(accountsFile())),
                 QStringLiteral("# account password\n10001 531946\n10002 新 pass \n\n10003 other pw\n10004 "
                                "a<#getversion#>b\n"));
        // Written through a temporary file that is renamed over the old one: nothing is left beside it.
        QCOMPARE(QDir(m_tmp->path()).entryList({"accounts*"}, QDir::Files | QDir::Hidden),
                 QStringList{"accounts.txt"});

        QCOMPARE(c.ask(Protocol::modPwdMessage("")), QStringLiteral("<#errMsg#>"));
        QCOMPARE(c.ask(Protocol::modPwdMessage("a\r\nb")), QStringLiteral("<#errMsg#>"));
        Client anonymous;
        QVERIFY(anonymous.open(m_server->serverPort()));
        QCOMPARE(anonymous.ask(Protocol::modPwdMessage("x")), QStringLiteral("<#errMsg#>"));

        Client again;
        QVERIFY(again.open(m_server->serverPort()));
        QCOMPARE(again.ask(Protocol::loginMessage("10002", "531946")), QStringLiteral("<#logout#>"));
        QCOMPARE(again.ask(Protocol::loginMessage("10002", "新 pass ")), QStringLiteral("<#login#>"));
    }

    void uploadPublishes() {
        Client c;
        loggedIn(c, "10001", "mysite");
        const QString archive = packedWorkspace("v1");
        QVERIFY(!archive.isEmpty());
        QString late;
        QVERIFY(upload(c, archive, &late));
        QCOMPARE(late, QString()); // success is silent; the client already reports it
        const QString folder = siteFolder("mysite");
        QCOMPARE(readFile(folder + "ziptest.zip"), readFile(archive));
        const QString work = m_tmp->filePath("app/userImages/");
        for (const char* f : {"govbuilder.sbd", "新闻.jpg", "images/a.jpg", "images/产品.gif"})
            QCOMPARE(readFile(folder + "site/" + f), readFile(work + f));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"site", "ziptest.zip"}));

        // A second upload replaces the first completely.
        QVERIFY(upload(c, packedWorkspace("v2")));
        QVERIFY(readFile(folder + "site/images/a.jpg").endsWith("v2"));
        QVERIFY(m_log.join('\n').contains("site mysite published"));
    }

    void refusedArchives_data() {
        QTest::addColumn<QByteArray>("entryName");
        QTest::addColumn<bool>("insideImages");
        QTest::addColumn<QString>("escapee"); // relative to the data folder's parent; must not appear
        QTest::newRow("parent folder") << QByteArray("../x.txt") << false << "data/sites/mysite/x.txt";
        QTest::newRow("far up") << QByteArray("a/../../../../x.txt") << false << "data/x.txt";
        QTest::newRow("absolute") << QByteArray("/tmp/weblark_abs_escape.txt") << false << "";
        QTest::newRow("backslashes") << QByteArray("..\\..\\x.txt") << false << "data/sites/x.txt";
        QTest::newRow("drive letter") << QByteArray("C:x.txt") << false << "";
        QTest::newRow("inside images.zip") << QByteArray("../../../y.txt") << true << "data/sites/y.txt";
        QTest::newRow("not a zip at all") << QByteArray() << false << "";
    }
    void refusedArchives() {
        QFETCH(QByteArray, entryName);
        QFETCH(bool, insideImages);
        QFETCH(QString, escapee);
        Client c;
        loggedIn(c, "10001", "mysite");
        QVERIFY(upload(c, packedWorkspace("good")));
        const QMap<QString, QByteArray> before = tree(siteFolder("mysite"));

        const QString bad = m_tmp->filePath("bad.zip");
        if (entryName.isEmpty()) {
            writeFile(bad, QByteArray(5000, '\x07'));
        } else if (insideImages) {
            const QString inner = m_tmp->filePath("inner.zip");
            QVERIFY(makeZip(inner, {{"ok.gif", "gif"}, {entryName, "escaped"}}));
            QVERIFY(makeZip(bad, {{"govbuilder.sbd", "db"}, {"images.zip", readFile(inner)}}));
        } else {
            QVERIFY(makeZip(bad, {{"govbuilder.sbd", "db"}, {entryName, "escaped"}}));
        }
        QString late;
        QVERIFY(!upload(c, bad, &late));
        QCOMPARE(late, QStringLiteral("<#errMsg#>"));
        QCOMPARE(tree(siteFolder("mysite")), before); // the published site is untouched
        if (!escapee.isEmpty())
            QVERIFY(!QFileInfo::exists(m_tmp->filePath(escapee)));
        QVERIFY(!QFileInfo::exists("/tmp/weblark_abs_escape.txt"));
        QVERIFY(!QFileInfo::exists(m_tmp->filePath("x.txt")));
    }

    void refusedAnnouncements_data() {
        QTest::addColumn<bool>("logIn");
        QTest::addColumn<bool>("withSite");
        QTest::addColumn<QString>("length");
        QTest::newRow("over the limit") << true << true << QString::number(8 * 1024 * 1024 + 1);
        QTest::newRow("beyond 32 bits") << true << true << "4294967296";
        QTest::newRow("zero-byte archive") << true << true << "0";
        QTest::newRow("not a number") << true << true << "12ab";
        QTest::newRow("negative") << true << true << "-5";
        QTest::newRow("no site name") << true << false << "100";
        QTest::newRow("not logged in") << false << false << "100";
    }
    void refusedAnnouncements() {
        QFETCH(bool, logIn);
        QFETCH(bool, withSite);
        QFETCH(QString, length);
        Client c;
        if (logIn)
            loggedIn(c, "10001", withSite ? "mysite" : QString());
        else
            QVERIFY(c.open(m_server->serverPort()));
        QCOMPARE(c.ask("<#sendFileInfo#>" + length), QStringLiteral("<#errMsg#>"));
        // Still reading messages, not archive bytes.
        QVERIFY(c.ask(Protocol::versionQuery()).startsWith("<#getversion#>"));
        QVERIFY(!QFileInfo::exists(siteFolder("mysite") + "ziptest.zip"));
    }

    void disconnectMidUpload() {
        Client c;
        loggedIn(c, "10001", "mysite");
        const QString v1 = packedWorkspace("v1");
        QVERIFY(upload(c, v1));
        const QMap<QString, QByteArray> before = tree(siteFolder("mysite"));

        QSignalSpy finished(m_server.get(), &HostServer::uploadFinished);
        QCOMPARE(c.ask(Protocol::sendFileInfoMessage(100000)), QStringLiteral("<#sendFileInfo#>"));
        c.send(readFile(v1).left(40000));
        QTest::qWait(100);
        c.socket.abort();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(1).toBool(), false);
        QCOMPARE(tree(siteFolder("mysite")), before);

        // The site is free for the next upload.
        Client again;
        loggedIn(again, "10001");
        QVERIFY(upload(again, packedWorkspace("v3")));
    }

    void framing() {
        Client c;
        QVERIFY(c.open(m_server->serverPort()));
        QCOMPARE(c.ask(Protocol::loginMessage("10004", "a<#getversion#>b")), QStringLiteral("<#login#>"));
        // Two messages in one write: both answered.
        c.got.clear();
        c.send(Protocol::toWire("<#getversion#>3.05<#siteName#>merged1"));
        QTRY_VERIFY(Protocol::fromWire(c.got).contains("<#siteName#>"));
        QCOMPARE(Protocol::fromWire(c.got),
                 QStringLiteral("<#getversion#><p>系统公告：新版本 3.06</p><#siteName#>"));
        // A chat line quoting a tag stays a chat line: it must not change the password.
        const QByteArray accounts = readFile(accountsFile());
        c.got.clear();
        c.send(Protocol::toWire(Protocol::talkMessage("what&nbsp;does&nbsp;<#modPwd#>x&nbsp;do?")));
        QCOMPARE(c.waitReply(300), QString());
        QCOMPARE(readFile(accountsFile()), accounts);
        QTRY_VERIFY(m_log.join('\n').contains("says: what does <#modPwd#>x do?"));
        // One message in two writes.
        c.got.clear();
        c.send("<#siteNa");
        QTest::qWait(10);
        c.send("me#>split1");
        QCOMPARE(c.waitReply(), QStringLiteral("<#siteName#>"));
        // Junk in front of a tag is skipped.
        QCOMPARE(c.ask(QStringLiteral("hello \x01") + Protocol::versionQuery()).left(14),
                 QStringLiteral("<#getversion#>"));
    }

    void badInputDoesNotStopTheServer_data() {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<bool>("dropped");
        QTest::newRow("not GB18030") << QByteArray("<#login#>\xff\xfe\x81\x30||\x80\xff") << false;
        QTest::newRow("invalid bytes without a tag") << QByteArray("\xff\xff\xff\x00\x00\x81", 6) << false;
        QTest::newRow("chat with bad bytes") << QByteArray("<#talkmsg#>\x81\x30\x81\xff") << false;
        QTest::newRow("three megabytes without a tag") << QByteArray(3 * 1024 * 1024, 'z') << true;
        QTest::newRow("three megabytes after a tag")
            << QByteArray("<#talkmsg#>") + QByteArray(3 * 1024 * 1024, 'y') << true;
    }
    void badInputDoesNotStopTheServer() {
        QFETCH(QByteArray, wire);
        QFETCH(bool, dropped);
        Client c;
        QVERIFY(c.open(m_server->serverPort()));
        c.send(wire);
        c.send(QByteArray()); // an empty write is nothing at all
        if (dropped) {
            QVERIFY(c.closedWithin(10000));
            QVERIFY(m_log.join('\n').contains("dropped"));
        } else {
            QTest::qWait(150);
            QCOMPARE(c.ask(Protocol::versionQuery()).left(14), QStringLiteral("<#getversion#>"));
        }
        Client next;
        QVERIFY(next.open(m_server->serverPort()));
        QCOMPARE(next.ask(Protocol::loginMessage("10001", "531946")), QStringLiteral("<#login#>"));
    }

    void operatorCommands() {
        Client a, b;
        loggedIn(a, "10001", "abc");
        QVERIFY(b.open(m_server->serverPort()));
        QCOMPARE(m_server->operatorCommand("say 您好，请问有什么问题？"),
                 QStringLiteral("sent to 2 connection(s)"));
        QCOMPARE(a.waitReply(), QStringLiteral("<#talkmsg#>您好，请问有什么问题？"));
        QCOMPARE(b.waitReply(), QStringLiteral("<#talkmsg#>您好，请问有什么问题？"));
        m_server->operatorCommand("notice SERVER MAINTENANCE<br>TONIGHT");
        QCOMPARE(a.waitReply(), QStringLiteral("<#systemmsg#>SERVER MAINTENANCE<br>TONIGHT"));
        QCOMPARE(b.waitReply(), QStringLiteral("<#systemmsg#>SERVER MAINTENANCE<br>TONIGHT"));

        const QString list = m_server->operatorCommand("list");
        QVERIFY2(list.contains("account 10001, site abc") && list.contains("not logged in"),
                 qPrintable(list));
        const QString idOfA = list.split('\n').filter("10001").first().section(' ', 0, 0);
        QCOMPARE(m_server->operatorCommand("tell " + idOfA + " 只给你"), QStringLiteral("sent"));
        QCOMPARE(a.waitReply(), QStringLiteral("<#talkmsg#>只给你"));
        QCOMPARE(b.waitReply(200), QString());
        QVERIFY(m_server->operatorCommand("tell 999 x").startsWith("no connection"));
        QVERIFY(m_server->operatorCommand("say").startsWith("usage"));
        QVERIFY(m_server->operatorCommand("bogus").startsWith("unknown command"));

        // A chat line from a client reaches the operator's log, decoded.
        a.send(Protocol::toWire(Protocol::talkMessage("网站&nbsp;打不开")));
        QTRY_VERIFY(m_log.join('\n').contains("(10001) says: 网站 打不开"));
    }

    void program() {
        // The built server: options, the port it reports, operator input on stdin.
        QProcess p;
        p.start(QStringLiteral(WEBLARK_HOSTD),
                {"--listen", "127.0.0.1", "--port", "0", "--accounts", accountsFile(), "--data",
                 dataDir() + "2", "--max-upload-mb", "5"});
        QVERIFY(p.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(p.canReadLine(), 10000);
        const QByteArray first = p.readLine().trimmed();
        QVERIFY2(first.startsWith("listening "), first.constData());
        Client c;
        QVERIFY(c.open(quint16(first.mid(10).toUInt())));
        QCOMPARE(c.ask(Protocol::loginMessage("10001", "531946")), QStringLiteral("<#login#>"));
        QCOMPARE(c.ask(Protocol::versionQuery()),
                 QStringLiteral("<#getversion#><b>欢迎使用网站托管服务。</b>"));
        QCOMPARE(c.ask(Protocol::siteNameMessage("prog")), QStringLiteral("<#siteName#>"));
        QCOMPARE(c.ask(Protocol::sendFileInfoMessage(6 * 1024 * 1024)), QStringLiteral("<#errMsg#>"));
        p.write("say hello from the operator\n");
        QCOMPARE(c.waitReply(), QStringLiteral("<#talkmsg#>hello from the operator"));
        p.write("quit\n");
        QVERIFY(p.waitForFinished(5000));
        QVERIFY(p.readAllStandardError().contains("connection 1 from 127.0.0.1"));
        QVERIFY(QFileInfo::exists(dataDir() + "2/siteowners.txt"));

        QProcess bad;
        bad.start(QStringLiteral(WEBLARK_HOSTD), {"--port", "x"});
        QVERIFY(bad.waitForFinished(5000));
        QCOMPARE(bad.exitCode(), 2);
    }
};

WEBLARK_TEST_MAIN(TestHostd)
#include "test_hostd.moc"
