#pragma once

#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "app/MDIFrm.h"
#include "app/WindowTable.h"
#include "publish/Protocol.h"
#include "publish/PublishSession.h"
#include "publish/updataFrm.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// The hosting server's side of one connection, on a loopback port.
class Peer : public QObject {
public:
    QTcpServer server;
    QPointer<QTcpSocket> conn;
    QByteArray received;
    bool readAll = true; // false: leave the bytes in the socket (a server that stops reading)

    Peer() {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            conn = server.nextPendingConnection();
            received.clear();
            connect(conn, &QTcpSocket::readyRead, this, [this] {
                if (readAll)
                    received += conn->readAll();
            });
        });
    }
    quint16 port() const { return server.serverPort(); }
    bool waitFor(const QByteArray& what) {
        return QTest::qWaitFor([&] { return received.contains(what); }, 5000);
    }
    void reply(const QString& text) {
        conn->write(Protocol::toWire(text));
        conn->flush();
    }
    void replyBytes(const QByteArray& bytes) {
        conn->write(bytes);
        conn->flush();
    }
    bool waitClosed() {
        return QTest::qWaitFor([&] { return !conn || conn->state() == QAbstractSocket::UnconnectedState; },
                               5000);
    }
};

// A frame with the publishing window loaded against a peer.
struct Publishing {
    TestAppDir app;
    RecordingDialogService dlg;
    MDIFrm frame{app.path(), dlg, programWindows()};
    QPointer<updataFrm> up;
    Peer peer;
    PublishSession& session = frame.context().publishSession;

    explicit Publishing(const QString& serial = QString(), const QString& siteName = QString(),
                        quint16 port = 0) {
        frame.conn().run(QStringLiteral("UPDATE user_info SET serial=?, site_name=?"), {serial, siteName});
        dlg.clear();
        up = qobject_cast<updataFrm*>(frame.showWindow(QStringLiteral("updataFrm")));
        if (up)
            up->serverPort = port ? port : peer.port();
    }
    bool connectToPeer() {
        up->cmd_connSever->click();
        return QTest::qWaitFor(
            [&] { return up->isConnected() && (peer.conn || up->serverPort != peer.port()); }, 5000);
    }
    bool login() {
        up->txt_pwd->setText(QStringLiteral("531946"));
        if (!connectToPeer())
            return false;
        if (up->serverPort == peer.port()) { // the test plays the server
            if (!peer.waitFor("<#login#>"))
                return false;
            peer.reply(QStringLiteral("<#login#>"));
        }
        return QTest::qWaitFor([&] { return session.loggedIn; }, 5000);
    }
    // The archive packed for the upload just announced to the peer; empty when none was.
    QByteArray announcedArchive() {
        QFile zip(app.appPath() + QStringLiteral("ziptest.zip"));
        return peer.waitFor("<#sendFileInfo#>") && zip.open(QIODevice::ReadOnly) ? zip.readAll() : QByteArray();
    }
    // Plays the server accepting the announced upload: true when exactly `archive` arrived
    // and the window reported the transfer done.
    bool acceptUpload(const QByteArray& archive) {
        peer.received.clear();
        peer.reply(QStringLiteral("<#sendFileInfo#>"));
        return QTest::qWaitFor(
                   [&] {
                       return dlg.texts().contains(QStringLiteral("数据传输完毕！")) &&
                              peer.received.size() >= archive.size();
                   },
                   15000) &&
               peer.received == archive;
    }
    bool waitForBoxes(int count) {
        return QTest::qWaitFor([&] { return dlg.shown.size() >= count; }, 5000);
    }
    QString userInfo(const QString& column) {
        return fieldText(frame.conn().selectUserInfo().first(), column);
    }
};
