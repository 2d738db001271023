#pragma once

#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "app/MDIFrm.h"
#include "app/WindowTable.h"
#include "data/SiteDb.h"
#include "publish/Protocol.h"
#include "publish/PublishClient.h"
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

    Peer()
    {
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
    bool waitFor(const QByteArray& what, int timeoutMs = 5000)
    {
        return QTest::qWaitFor([&] { return received.contains(what); }, timeoutMs);
    }
    void reply(const QString& text)
    {
        conn->write(Protocol::toWire(text));
        conn->flush();
    }
    // Waits for the client's login and lets it in.
    bool acceptLogin()
    {
        if (!waitFor("<#login#>"))
            return false;
        received.clear();
        reply(QStringLiteral("<#login#>"));
        return true;
    }
    bool waitClosed()
    {
        return QTest::qWaitFor([&] { return !conn || conn->state() == QAbstractSocket::UnconnectedState; }, 5000);
    }
};

// The shared publishing client on its own, against a peer, with the boxes it asks for recorded.
struct ClientRig {
    TestAppDir app;
    SiteDb db{QStringLiteral("client-rig")};
    PublishClient client{db};
    Peer peer;
    QStringList boxes;
    QString panel2;

    explicit ClientRig(const QString& serial = QStringLiteral("10001"), const QString& siteName = QString())
    {
        db.open(app.workPath());
        db.run(QStringLiteral("UPDATE user_info SET serial=?, site_name=?"), {serial, siteName});
        client.serverPort = peer.port();
        client.syncWaitMs = 200; // the peer never answers a sync offer
        QObject::connect(&client, &PublishClient::messageWanted,
                         [this](const QString& text, const QString&, MsgIcon) { boxes << text; });
        QObject::connect(&client, &PublishClient::panelChanged, [this](int panel, const QString& text) {
            if (panel == 2)
                panel2 = text;
        });
        client.load();
    }
    bool login()
    {
        client.connectToServer(QStringLiteral("127.0.0.1"), client.session().userAccount, QStringLiteral("pw"));
        return QTest::qWaitFor([&] { return client.isConnected() && peer.conn; }, 5000) && peer.acceptLogin() &&
               QTest::qWaitFor([&] { return client.session().loggedIn; }, 5000);
    }
    // Packs and announces; the archive's bytes once the announcement reached the peer.
    QByteArray announce()
    {
        client.upload(app.appPath(), app.workPath());
        if (!peer.waitFor("<#sendFileInfo#>"))
            return {};
        QFile zip(app.appPath() + QStringLiteral("ziptest.zip"));
        return zip.open(QIODevice::ReadOnly) ? zip.readAll() : QByteArray();
    }
};

// A frame with the publishing window loaded against a peer. The frame opens the
// chat and notice windows the client asks for, as the program does. It writes into
// a data folder of its own, as when installed, whose initPath.ini names the
// application folder's workspace.
struct Publishing {
    TestAppDir app;
    QTemporaryDir data;
    RecordingDialogService dlg;
    ProgramParts parts;
    MDIFrm frame{roots(), dlg, programWindows(parts)};
    PublishClient& client = connectProgramWindows(frame, parts);
    const PublishSession& session = client.session();
    QPointer<updataFrm> up;
    Peer peer;

    explicit Publishing(const QString& serial = QString(), const QString& siteName = QString(), quint16 port = 0)
    {
        frame.conn().run(QStringLiteral("UPDATE user_info SET serial=?, site_name=?"), {serial, siteName});
        dlg.clear();
        up = qobject_cast<updataFrm*>(frame.showWindow(QStringLiteral("updataFrm")));
        client.serverPort = port ? port : peer.port();
        if (!port)
            client.syncWaitMs = 200; // the peer never answers a sync offer
    }
    DataRoots roots()
    {
        QFile ini(data.filePath(QStringLiteral("initPath.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(app.workPath().toUtf8());
        return DataRoots(app.path(), data.path());
    }
    template <class T = QWidget> T* control(const char* name, QObject* window = nullptr)
    {
        QObject* w = window ? window : static_cast<QObject*>(up.data());
        return w ? w->findChild<T*>(QLatin1String(name)) : nullptr;
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    bool connectToPeer()
    {
        button("cmd_connSever")->click();
        return QTest::qWaitFor([&] { return client.isConnected() && (peer.conn || client.serverPort != peer.port()); },
                               5000);
    }
    bool login()
    {
        edit("txt_pwd")->setText(QStringLiteral("531946"));
        // Against the peer the test plays the server; a real one answers by itself.
        return connectToPeer() && (client.serverPort != peer.port() || peer.acceptLogin()) &&
               QTest::qWaitFor([&] { return session.loggedIn; }, 5000);
    }
    QString userInfo(const QString& column) { return fieldText(frame.conn().selectUserInfo().first(), column); }
};
