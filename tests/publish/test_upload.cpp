// Streaming the upload archive to a loopback peer.
#include "PublishingFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "publish/ArchiveSender.h"

#include <QTemporaryDir>

namespace {

// A client socket connected to a loopback peer.
struct Loopback : Peer {
    QTcpSocket client;
    bool open()
    {
        client.connectToHost(QHostAddress::LocalHost, port());
        return client.waitForConnected(5000) && QTest::qWaitFor([this] { return bool(conn); }, 5000);
    }
};

} // namespace

class TestUpload : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;

    QString writeArchive(const QByteArray& data)
    {
        writeFile(m_tmp.filePath("ziptest.zip"), data);
        return m_tmp.filePath("ziptest.zip");
    }

private Q_SLOTS:
    // Empty, one byte, exactly one chunk, several megabytes with an odd tail.
    void streamsByteIdentical()
    {
        for (qint64 size : {qint64(0), qint64(1), qint64(256 * 1024), qint64(5 * 1024 * 1024 + 7)})
            streamOnce(size);
    }
    void streamOnce(qint64 size)
    {
        Loopback lb;
        QVERIFY(lb.open());
        const QByteArray data = randomBytes(size, quint32(size) + 1);
        const QString path = writeArchive(data);

        // An ordinary message still queued ahead of the archive is not counted as archive progress.
        const QByteArray announce = "<#sendFileInfo#>" + QByteArray::number(size);
        lb.client.write(announce);

        ArchiveSender sender;
        qint64 sum = 0, lastRemaining = -1;
        connect(&sender, &ArchiveSender::progress, [&](qint64 sent, qint64 remaining) {
            QVERIFY(sent > 0);
            sum += sent;
            lastRemaining = remaining;
        });
        QSignalSpy done(&sender, &ArchiveSender::completed);
        QSignalSpy failed(&sender, &ArchiveSender::failed);
        QVERIFY2(sender.sendZipFile(&lb.client, path, size), qPrintable(sender.errorText()));
        QVERIFY(done.wait(20000) || done.count() == 1);
        QTRY_COMPARE_WITH_TIMEOUT(lb.received.size(), announce.size() + size, 20000);
        QCOMPARE(done.count(), 1);
        QCOMPARE(failed.count(), 0);
        QCOMPARE(sum, size);
        if (size > 0)
            QCOMPARE(lastRemaining, qint64(0));
        QVERIFY(lb.received == announce + data);
        QVERIFY(!sender.isSending());
    }

    void refusedBeforeSending_data()
    {
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<qint64>("announced");
        QTest::addColumn<QString>("error");
        QTest::newRow("beyond the 32-bit length field")
            << qint64(10) << qint64(2147483648LL) << ArchiveSender::tooLargeText(2147483648LL);
        QTest::newRow("negative length") << qint64(10) << qint64(-1) << ArchiveSender::tooLargeText(-1);
        QTest::newRow("file changed since announced") << qint64(10) << qint64(11) << QString();
    }
    void refusedBeforeSending()
    {
        QFETCH(qint64, fileSize);
        QFETCH(qint64, announced);
        QFETCH(QString, error);
        Loopback lb;
        QVERIFY(lb.open());
        const QString path = writeArchive(randomBytes(fileSize, 3));
        ArchiveSender sender;
        QSignalSpy failed(&sender, &ArchiveSender::failed);
        QVERIFY(!sender.sendZipFile(&lb.client, path, announced));
        QVERIFY(!sender.errorText().isEmpty());
        if (!error.isEmpty())
            QCOMPARE(sender.errorText(), error);
        // Nothing went ahead of a marker written afterwards.
        lb.client.write("end");
        QTRY_COMPARE(lb.received, QByteArray("end"));
        QCOMPARE(failed.count(), 0);
    }

    void notConnected()
    {
        QTcpSocket socket;
        ArchiveSender sender;
        QVERIFY(!sender.sendZipFile(&socket, writeArchive("abc"), 3));
        QCOMPARE(sender.errorText(), QStringLiteral("没有和服务器建立连接！"));
    }
};

WEBLARK_TEST_MAIN(TestUpload)
#include "test_upload.moc"
