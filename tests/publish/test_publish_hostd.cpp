// The publishing windows against the reference hosting server, in-process.
#include "HostServer.h"
#include "PublishingFixture.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

class TestPublishHostd : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<HostServer> m_server;

    QString accountsFile() const { return m_tmp->filePath(QStringLiteral("accounts.txt")); }
    QString siteFolder(const QString& name) const
    {
        return m_tmp->filePath(QStringLiteral("data/sites/")) + name + "/";
    }
    quint16 port() const { return m_server->serverPort(); }

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        writeFile(accountsFile(), "10001 531946\n10002 531946\n");
        writeFile(m_tmp->filePath("notice.htm"), QStringLiteral("<p>系统公告：新版本 3.06</p>").toUtf8());
        HostConfig cfg;
        cfg.port = 0;
        cfg.accountsFile = accountsFile();
        cfg.dataDir = m_tmp->filePath(QStringLiteral("data"));
        cfg.noticeFile = m_tmp->filePath("notice.htm");
        m_server = std::make_unique<HostServer>(cfg);
        QString error;
        QVERIFY2(m_server->listen(&error), qPrintable(error));
    }
    void cleanup() { m_server.reset(); }

    void versionQueryWithoutAccountShowsTheNotice()
    {
        Publishing p(QString(), QString(), port());
        QVERIFY(p.connectToPeer());
        QVERIFY(QTest::qWaitFor([&] { return p.frame.loadedWindow("verFrm"); }, 5000));
        const QStringList texts = p.client.takePageTexts(ServerReaction::Page::Announcement);
        QCOMPARE(texts, QStringList{"<p>系统公告：新版本 3.06</p>"});
        QVERIFY(!p.session.loggedIn);
    }

    void claimAndTakenName()
    {
        {
            Publishing other(QStringLiteral("10002"), QString(), port());
            QVERIFY(other.login());
            other.edit("txt_webName")->setText(QStringLiteral("taken1"));
            other.button("cmd_changeWebName")->click();
            QVERIFY(QTest::qWaitFor([&] { return other.session.siteNameSet; }, 5000));
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
        QCOMPARE(m_server->store().siteOf("10001"), QStringLiteral("mine2"));
        // Uploading now refuses until a name is accepted again.
        p.button("cmd_updata")->click();
        QVERIFY(p.dlg.lastIs("请输入一站点名！", "警告", MsgIcon::Critical));
    }

    // The whole way: log in, claim a name, pack, send, and find the site unpacked on the server.
    void uploadPublishesTheSite()
    {
        Publishing p(QStringLiteral("10001"), QString(), port());
        writeFile(p.app.workPath() + "images/logo.gif", QByteArray(200000, 'g'));
        writeFile(p.app.workPath() + "images/old.ASP", "<% x %>");
        writeFile(p.app.workPath() + "新闻.jpg", QByteArray(50000, 'n'));
        QVERIFY(p.login());
        p.edit("txt_webName")->setText(QStringLiteral("govsite"));
        p.button("cmd_changeWebName")->click();
        QVERIFY(QTest::qWaitFor([&] { return p.session.siteNameSet; }, 5000));

        for (int round = 0; round < 2; ++round) { // twice in one session: a fresh archive each time
            QSignalSpy finished(m_server.get(), &HostServer::uploadFinished);
            p.dlg.clear();
            p.button("cmd_updata")->click();
            QVERIFY(finished.wait(20000));
            QVERIFY(finished.first().at(1).toBool());
            QVERIFY(QTest::qWaitFor([&] { return p.dlg.last().text == QStringLiteral("数据传输完毕！"); }, 5000));
            QCOMPARE(p.up->panelText(2), QStringLiteral("数据传输完毕！"));
            QVERIFY(p.button("cmd_updata")->isEnabled());
        }
        const QByteArray sent = readFile(p.data.filePath("ziptest.zip"));
        QVERIFY(!sent.isEmpty());
        QVERIFY(!QFile::exists(p.app.appPath() + "ziptest.zip")); // nothing written beside the material
        QCOMPARE(readFile(siteFolder("govsite") + "ziptest.zip"), sent);
        QCOMPARE(readFile(siteFolder("govsite") + "site/govbuilder.sbd"),
                 readFile(p.app.workPath() + "govbuilder.sbd"));
        QCOMPARE(readFile(siteFolder("govsite") + "site/images/logo.gif"), QByteArray(200000, 'g'));
        QCOMPARE(readFile(siteFolder("govsite") + "site/新闻.jpg"), QByteArray(50000, 'n'));
        // The server script stays in the workspace and does not reach the server.
        QVERIFY(!QFile::exists(siteFolder("govsite") + "site/images/old.ASP"));
        QVERIFY(QFile::exists(p.app.workPath() + "images/old.ASP"));
    }
};

WEBLARK_TEST_MAIN(TestPublishHostd)
#include "test_publish_hostd.moc"
