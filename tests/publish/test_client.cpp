// The shared publishing client against a loopback peer: when the session's
// timers stop, and how an upload ends in every case.
#include "PublishingFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestZip.h"
#include "publish/ArchiveSender.h"
#include "publish/SyncManifest.h"

// One entry of an archive on disk; empty when it holds none of that name.
static QByteArray zippedFile(const QString& archive, const char* name)
{
    return readZip(readFile(archive)).value(QString::fromUtf8(name)).data;
}

class TestClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The idle watchdog runs only while the session it watches is open.
    void idleWatchdog_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("user disconnects") << "user";
        QTest::newRow("server closes") << "server";
        QTest::newRow("watchdog runs out") << "ticks";
    }
    void idleWatchdog()
    {
        QFETCH(QString, ending);
        ClientRig rig;
        QVERIFY(rig.login());
        rig.client.claimSiteName(QStringLiteral("abc"));
        QVERIFY(rig.peer.waitFor("<#siteName#>abc"));
        rig.peer.reply(QStringLiteral("<#siteName#>"));
        QVERIFY(QTest::qWaitFor([&] { return rig.client.idleWatchdogActive(); }, 5000));
        rig.boxes.clear();
        if (ending == "user") {
            rig.client.disconnectFromServer();
        } else if (ending == "server") {
            rig.peer.conn->disconnectFromHost();
        } else {
            for (int i = 0; i < PublishRules::kIdleTickLimit - 1; ++i)
                rig.client.Timer_sck_Timer();
            QVERIFY(rig.client.isConnected());
            QVERIFY(rig.boxes.isEmpty());
            rig.client.Timer_sck_Timer();
            QCOMPARE(rig.boxes, QStringList{"连接超时，已于服务器断开连接！"});
        }
        QVERIFY(rig.peer.waitClosed());
        QVERIFY(QTest::qWaitFor([&] { return !rig.client.isConnected(); }, 5000));
        QVERIFY(!rig.client.idleWatchdogActive());
        QCOMPARE(rig.client.idleTicks.ticks(), 0);
    }

    void connectionRefused()
    {
        ClientRig rig;
        QSignalSpy connectButton(&rig.client, &PublishClient::connectEnabled);
        rig.peer.server.close();
        rig.client.connectToServer(QStringLiteral("127.0.0.1"), QStringLiteral("10001"), QString());
        QTRY_COMPARE(rig.boxes.size(), 1);
        QVERIFY(!connectButton.isEmpty() && connectButton.last().at(0).toBool());
        QVERIFY(!rig.client.isConnected());
    }

    // Packing runs on a worker thread: the upload command returns at once, the
    // status shows packing, and replies are handled meanwhile.
    void packingDoesNotBlock()
    {
        ClientRig rig(QStringLiteral("10001"), QStringLiteral("mysite"));
        writeFile(rig.app.workPath() + "data.dat", randomBytes(24 * 1024 * 1024));
        rig.client.offerSync = false; // the full packing alone, without hashing first
        QVERIFY(rig.login());
        rig.client.upload(rig.app.appPath(), rig.app.workPath());
        QVERIFY(rig.client.isPacking());
        QCOMPARE(rig.panel2, SitePacker::packingText());
        QVERIFY(!rig.client.session().uploadAnnounced);
        // A save while the worker packs does not reach the archive half-done: it holds the database as it was.
        const QByteArray database = readFile(rig.app.workPath() + "govbuilder.sbd");
        writeFile(rig.app.workPath() + "govbuilder.sbd", "saved meanwhile");
        QVERIFY(rig.peer.waitFor("<#sendFileInfo#>", 60000)); // packing 24 MB takes long on a busy machine
        QCOMPARE(zippedFile(rig.app.appPath() + "ziptest.zip", "govbuilder.sbd"), database);
        QCOMPARE(rig.panel2, SitePacker::packedText());
        QVERIFY(rig.client.session().uploadAnnounced);
    }

    // A server without the sync gets exactly the described upload: after a short
    // wait when it does not answer the offer, at once when it answers an error.
    // A user who disconnects meanwhile gets the upload command back.
    void serverWithoutSyncGetsTheFullUpload_data()
    {
        QTest::addColumn<bool>("answersError");
        QTest::addColumn<bool>("disconnects");
        QTest::newRow("no answer") << false << false;
        QTest::newRow("error reply") << true << false;
        QTest::newRow("disconnected while waiting") << true << true;
    }
    void serverWithoutSyncGetsTheFullUpload()
    {
        QFETCH(bool, answersError);
        QFETCH(bool, disconnects);
        ClientRig rig(QStringLiteral("10001"), QStringLiteral("mysite"));
        writeFile(rig.app.workPath() + "images/logo.gif", QByteArray(3000, 'g'));
        if (answersError)
            rig.client.syncWaitMs = 60000;
        QVERIFY(rig.login());
        rig.boxes.clear();
        rig.client.upload(rig.app.appPath(), rig.app.workPath());
        QVERIFY(rig.peer.waitFor("<#syncManifest#>1\n"));
        if (disconnects) {
            QSignalSpy enabled(&rig.client, &PublishClient::uploadEnabled);
            rig.client.disconnectFromServer();
            QVERIFY(!enabled.isEmpty() && enabled.last().at(0).toBool());
            QVERIFY(!rig.client.isBusy());
            return;
        }
        if (answersError)
            rig.peer.reply(QStringLiteral("<#errMsg#>"));
        QVERIFY(rig.peer.waitFor("<#sendFileInfo#>"));
        const QByteArray archive = readFile(rig.app.appPath() + "ziptest.zip");
        QCOMPARE(rig.peer.received.mid(rig.peer.received.indexOf("<#sendFileInfo#>")),
                 "<#sendFileInfo#>" + QByteArray::number(archive.size()));
        QCOMPARE(zippedFile(rig.app.appPath() + "ziptest.zip", "images.zip"),
                 readFile(rig.app.workPath() + "images.zip"));
        rig.peer.received.clear();
        rig.peer.reply(QStringLiteral("<#sendFileInfo#>"));
        QVERIFY(QTest::qWaitFor([&] { return rig.peer.received.size() >= archive.size(); }, 5000));
        QCOMPARE(rig.peer.received, archive);
        QTRY_COMPARE(rig.boxes, QStringList{ArchiveSender::completedText()});
    }

    // A sync upload holds only files of the manifest, whatever the server asks for:
    // a server script stays in the workspace.
    void syncSendsOnlyFilesOfItsManifest()
    {
        ClientRig rig(QStringLiteral("10001"), QStringLiteral("mysite"));
        writeFile(rig.app.workPath() + "images/old.asp", "<% x %>");
        writeFile(rig.app.workPath() + "logo.gif", "g");
        rig.client.syncWaitMs = 60000;
        QVERIFY(rig.login());
        rig.client.upload(rig.app.appPath(), rig.app.workPath());
        QVERIFY(rig.peer.waitFor("<#syncManifest#>1\n"));
        rig.peer.reply(SyncManifest::needMessage({"images/old.asp", "logo.gif"}));
        QVERIFY(rig.peer.waitFor("<#sendFileInfo#>"));
        const QString archive = rig.app.appPath() + "ziptest.zip";
        QCOMPARE(zippedFile(archive, "logo.gif"), QByteArray("g"));
        QVERIFY(zippedFile(archive, "images/old.asp").isEmpty());
        QCOMPARE(zippedFile(archive, "govbuilder.sbd"), readFile(rig.app.workPath() + "govbuilder.sbd"));
    }

    // Between the announcement and the last archive byte no text may travel: it would land inside the archive.
    void nothingElseTravelsWithTheArchive()
    {
        ClientRig rig(QStringLiteral("10001"), QStringLiteral("mysite"));
        writeFile(rig.app.workPath() + "logo.gif", QByteArray(300000, 'g'));
        QVERIFY(rig.login());
        QVERIFY(rig.peer.waitFor("<#getversion#>3.05"));
        const QByteArray archive = rig.announce();
        QVERIFY(archive.startsWith("PK"));
        QVERIFY(rig.peer.received.endsWith("<#sendFileInfo#>" + QByteArray::number(archive.size())));
        rig.peer.received.clear();
        rig.boxes.clear();
        rig.client.timer_verion_Timer();
        rig.client.timer_verion_Timer(); // the version query waits
        rig.client.changePassword(QStringLiteral("pw"), QStringLiteral("pw"));
        rig.client.upload(rig.app.appPath(), rig.app.workPath());
        QString error;
        QCOMPARE(int(rig.client.sendChat(QStringLiteral("hi"), &error)), int(PublishClient::SendResult::Failed));
        QCOMPARE(rig.boxes, QStringList(2, "正在上传数据，请等上传完毕后再操作！"));

        rig.peer.reply(QStringLiteral("<#sendFileInfo#>"));
        QTRY_COMPARE(rig.boxes.value(2), ArchiveSender::completedText());
        QVERIFY(QTest::qWaitFor([&] { return rig.peer.received.size() >= archive.size(); }, 5000));
        QVERIFY(rig.peer.received == archive);
        // Afterwards the version query goes out.
        rig.client.timer_verion_Timer();
        rig.client.timer_verion_Timer();
        QVERIFY(rig.peer.waitFor(archive + "<#getversion#>3.05"));
    }

    // A refused announcement lets the user try again; one the server never answers
    // does not hold the client.
    void announcementRefusedThenUnanswered()
    {
        ClientRig rig(QStringLiteral("10001"), QStringLiteral("mysite"));
        QSignalSpy uploadButton(&rig.client, &PublishClient::uploadEnabled);
        QVERIFY(rig.login());
        QVERIFY(!rig.announce().isEmpty());
        rig.peer.reply(QStringLiteral("<#errMsg#>"));
        QVERIFY(QTest::qWaitFor([&] { return !rig.client.session().uploadAnnounced; }, 5000));
        rig.peer.received.clear();
        rig.client.announceTimeoutMs = 200;
        rig.boxes.clear();
        QVERIFY(!rig.announce().isEmpty());
        QTRY_VERIFY(rig.boxes.value(0).contains("没有回应上传请求"));
        QVERIFY(!rig.client.isBusy());
        QVERIFY(!rig.client.session().loggedIn);
        QVERIFY(uploadButton.last().at(0).toBool());
        QVERIFY(rig.peer.waitClosed());
    }

    // An upload cut short ends the upload with exactly one box.
    void uploadCutShort_data()
    {
        QTest::addColumn<bool>("socketError");
        QTest::newRow("socket error") << true;
        QTest::newRow("server goes away") << false;
    }
    void uploadCutShort()
    {
        QFETCH(bool, socketError);
        ClientRig rig(QStringLiteral("10001"), QStringLiteral("mysite"));
        // Pictures are stored as they are, so the archive is as big as the picture.
        writeFile(rig.app.workPath() + "big.jpg", randomBytes(48 * 1024 * 1024));
        QVERIFY(rig.login());
        QVERIFY(!rig.announce().isEmpty());
        rig.peer.readAll = false; // a server that stops reading
        rig.peer.reply(QStringLiteral("<#sendFileInfo#>"));
        QVERIFY(QTest::qWaitFor([&] { return rig.panel2 == ArchiveSender::uploadingText(); }, 10000));
        rig.boxes.clear();
        if (socketError) {
            auto* socket = rig.client.findChild<QTcpSocket*>(QStringLiteral("sckClient"));
            Q_EMIT socket->errorOccurred(QAbstractSocket::NetworkError);
        } else {
            rig.peer.conn->abort();
        }
        QVERIFY(QTest::qWaitFor([&] { return !rig.client.isConnected() && !rig.client.isBusy(); }, 10000));
        QCOMPARE(rig.boxes.size(), 1);
        QVERIFY(rig.boxes.first().startsWith(ArchiveSender::interruptedText()));
        QVERIFY(!rig.client.session().uploading);
        QVERIFY(!rig.client.idleWatchdogActive());
    }
};

WEBLARK_TEST_MAIN(TestClient)
#include "test_client.moc"
