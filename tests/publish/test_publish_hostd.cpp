// The publishing windows against the reference hosting server, in-process.
#include "HostdClient.h"
#include "PublishingFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestZip.h"

#include "publish/SyncManifest.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

class TestPublishHostd : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    TestHost m_host;
    TestAppDir m_app; // the themes the server renders with

    QString siteFolder(const QString& name) const { return m_tmp->filePath("data/sites/" + name + '/'); }
    quint16 port() const { return m_host.server->serverPort(); }

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        writeFile(m_tmp->filePath("accounts.txt"), "10001 531946\n10002 531946\n");
        writeFile(m_tmp->filePath("notice.htm"), QStringLiteral("<p>系统公告：新版本 3.06</p>").toUtf8());
        HostConfig cfg = TestHost::config(m_tmp->path());
        cfg.noticeFile = m_tmp->filePath("notice.htm");
        cfg.httpPort = 0;
        cfg.appPath = m_app.appPath();
        cfg.render.program = QStringLiteral(WEBLARK_HOSTD);
        m_host.start(cfg);
    }
    void cleanup() { m_host.server.reset(); }

    void claimAndTakenName()
    {
        {
            Publishing other(QStringLiteral("10002"), QString(), port());
            QVERIFY(loginWithName(other, QStringLiteral("taken1")));
            QCOMPARE(other.userInfo("site_name"), QStringLiteral("taken1"));
        }
        Publishing p(QStringLiteral("10001"), QString(), port());
        QVERIFY(p.login());
        p.edit("txt_webName")->setText(QStringLiteral("mine2"));
        p.button("cmd_changeWebName")->click();
        // The name stored is the name sent, even when the box changes before the answer.
        p.edit("txt_webName")->setText(QStringLiteral("typing"));
        QVERIFY(QTest::qWaitFor([&] { return p.session.siteNameSet; }, 5000));
        QCOMPARE(p.userInfo("site_name"), QStringLiteral("mine2"));
        p.edit("txt_webName")->setText(QStringLiteral("TAKEN1"));
        p.button("cmd_changeWebName")->click();
        QVERIFY(QTest::qWaitFor([&] { return !p.session.siteNameSet; }, 5000));
        QCOMPARE(p.dlg.last().text, QStringLiteral("站点名已存在，重新输入！"));
        QCOMPARE(p.edit("txt_webName")->text(), QStringLiteral("mine2"));
        QCOMPARE(p.userInfo("site_name"), QStringLiteral("mine2"));
        QCOMPARE(m_host.server->store().siteOf("10001"), QStringLiteral("mine2"));
        // Uploading now refuses until a name is accepted again.
        p.button("cmd_updata")->click();
        QVERIFY(p.dlg.lastIs("请输入一站点名！", "警告", MsgIcon::Critical));
    }

    bool loginWithName(Publishing& p, const QString& name = QStringLiteral("govsite"))
    {
        if (!p.login())
            return false;
        p.edit("txt_webName")->setText(name);
        p.button("cmd_changeWebName")->click();
        return QTest::qWaitFor([&] { return p.session.siteNameSet; }, 5000);
    }

    // Clicks upload and waits for the server's publish, its rendering and the program's report; true when published.
    bool publish(Publishing& p)
    {
        const qsizetype logged = m_host.log.size();
        QSignalSpy finished(m_host.server.get(), &HostServer::uploadFinished);
        p.dlg.clear();
        p.button("cmd_updata")->click();
        while (finished.isEmpty() || !finished.last().at(1).toBool()) {
            if (!finished.wait(20000))
                return false;
        }
        return m_host.waitLogged("rendered for the web", logged, 30000) &&
               QTest::qWaitFor([&] { return p.dlg.last().text == QStringLiteral("数据传输完毕！"); }, 5000) &&
               p.dlg.shown.size() == 1 && p.button("cmd_updata")->isEnabled();
    }

    // The whole way: log in, claim a name, pack, send, and find the site on the server. The
    // first publish is a full one; after edits only the database and the changed files go,
    // and the rendered site is the one a full upload of the same workspace gives. A sync
    // that fails falls back to the full upload.
    void uploadPublishesTheSite()
    {
        Publishing p(QStringLiteral("10001"), QString(), port());
        const QString work = p.app.workPath();
        const QString site = siteFolder("govsite") + "site/";
        writeFile(work + "images/logo.gif", QByteArray(200000, 'g'));
        writeFile(work + "images/gone.gif", QByteArray(3000, 'x'));
        writeFile(work + "images/old.ASP", "<% x %>");
        writeFile(work + "新闻.jpg", QByteArray(50000, 'n'));
        QVERIFY(loginWithName(p));
        QVERIFY(publish(p));
        QCOMPARE(p.up->panelText(2), QStringLiteral("数据传输完毕！"));
        QVERIFY(!QFile::exists(p.app.appPath() + "ziptest.zip")); // nothing written beside the material
        QCOMPARE(readFile(siteFolder("govsite") + "ziptest.zip"), readFile(p.data.filePath("ziptest.zip")));
        QCOMPARE(readFile(site + "images/gone.gif"), QByteArray(3000, 'x'));
        QCOMPARE(readFile(site + "images.zip"), readFile(work + "images.zip"));

        // A record added, a picture changed at the same size, one deleted, one added.
        QVERIFY(p.frame.conn().run(QStringLiteral("UPDATE user_info SET gov_name=?"), {QStringLiteral("新单位")}).ok);
        writeFile(work + "images/logo.gif", QByteArray(200000, 'h'));
        QFile::remove(work + "images/gone.gif");
        writeFile(work + "added.jpg", QByteArray(7000, 'a'));
        QVERIFY(publish(p));
        const QByteArray sent = readFile(p.data.filePath("ziptest.zip"));
        QCOMPARE(readZip(sent).keys(),
                 (QStringList{".weblark-sync-manifest", "added.jpg", "govbuilder.sbd", "images/logo.gif"}));
        QCOMPARE(p.up->panelText(2), SyncManifest::sentText(3, sent.size()));
        QCOMPARE(readFile(site + "govbuilder.sbd"), readFile(work + "govbuilder.sbd"));
        QCOMPARE(readFile(site + "images/logo.gif"), QByteArray(200000, 'h'));
        QCOMPARE(readFile(site + "新闻.jpg"), QByteArray(50000, 'n'));
        QCOMPARE(readFile(site + "added.jpg"), QByteArray(7000, 'a'));
        QVERIFY(!QFile::exists(site + "images/gone.gif"));
        // The server script stays in the workspace and does not reach the server.
        QVERIFY(!QFile::exists(site + "images/old.ASP"));
        QVERIFY(QFile::exists(work + "images/old.ASP"));

        const QMap<QString, QByteArray> synced = filesUnder(siteFolder("govsite") + "www");
        QVERIFY(synced.contains("index.htm"));
        p.client.offerSync = false;
        QVERIFY(publish(p));
        QCOMPARE(filesUnder(siteFolder("govsite") + "www"), synced);

        // A sync whose upload does not match its manifest (a picture changed again while
        // publishing) leaves the site as it was, and the program then uploads in full.
        p.client.offerSync = true;
        const QMap<QString, QByteArray> before = filesUnder(site);
        writeFile(work + "images/logo.gif", QByteArray(200000, 'i'));
        QMetaObject::Connection hook =
            connect(m_host.server.get(), &HostServer::logLine, this, [&](const QString& line) {
                if (line.contains("sync offer for"))
                    writeFile(work + "images/logo.gif", QByteArray(200000, 'j'));
            });
        QList<QMap<QString, QByteArray>> sites;
        connect(m_host.server.get(), &HostServer::uploadFinished, this, [&] { sites << filesUnder(site); });
        QVERIFY(publish(p));
        disconnect(hook);
        QCOMPARE(sites.size(), 2);
        QCOMPARE(sites.first(), before);
        QCOMPARE(readFile(site + "images/logo.gif"), QByteArray(200000, 'j'));
        QVERIFY(readZip(readFile(p.data.filePath("ziptest.zip"))).contains("images.zip"));
    }
};

WEBLARK_TEST_MAIN(TestPublishHostd)
#include "test_publish_hostd.moc"
