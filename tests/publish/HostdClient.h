#pragma once

// Running weblark-hostd in a test and talking to it: upload archives and a
// publishing client on a plain socket.
#include "HostServer.h"
#include "TestFiles.h"
#include "data/SiteDb.h"
#include "publish/Protocol.h"

#include <QFile>
#include <QSignalSpy>
#include <QTcpSocket>

#include <memory>
#include <zip.h>

using Entries = QList<QPair<QByteArray, QByteArray>>;

// A zip archive with the given raw entry names (the packer never writes unsafe ones).
inline QByteArray zipOf(const QString& path, const Entries& entries)
{
    int err = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    for (const auto& [name, data] : entries) {
        zip_source_t* src = zip_source_buffer(za, data.constData(), zip_uint64_t(data.size()), 0);
        zip_file_add(za, name.constData(), src, ZIP_FL_ENC_RAW);
    }
    zip_close(za);
    return readFile(path);
}

// A copy of a site database in folder, changed by the given statements.
inline QByteArray siteDbWith(const QString& source, const QString& folder, const QStringList& statements)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QFile::copy(source, folder + "/govbuilder.sbd");
    {
        SiteDb db(QStringLiteral("changed"));
        db.open(folder + '/');
        for (const QString& statement : statements)
            db.run(statement);
    }
    return readFile(folder + "/govbuilder.sbd");
}

// Replaces a table the renderer reads with a view that never ends (and never
// grows): a rendering of that database never finishes on its own.
inline QStringList endlessView()
{
    return {"DROP TABLE content01",
            "CREATE VIEW content01 AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n FROM r) "
            "SELECT n AS ID, '' AS firstCatalog, '' AS value01, '' AS value02, '' AS value03, '' AS value04, "
            "'' AS value05, '' AS value06 FROM r WHERE n = 0"};
}

// The publishing client's end of one connection.
struct Client {
    QTcpSocket socket;
    QByteArray got;

    bool open(quint16 port, const QHostAddress& from = {})
    {
        if (!from.isNull())
            socket.bind(from);
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { got += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(5000);
    }
    void send(const QByteArray& wire) { socket.write(wire); }
    QString reply() const { return Protocol::fromWire(got); }
    // Takes what has arrived, after waiting for a first piece; the server writes
    // each reply at once, so a single reply arrives whole on loopback.
    QString waitReply()
    {
        if (got.isEmpty())
            QSignalSpy(&socket, &QTcpSocket::readyRead).wait(5000);
        return Protocol::fromWire(std::exchange(got, QByteArray()));
    }
    // Sends one message and returns the reply ("" when none came). A reply nobody
    // asked for shows up in front of the next one.
    QString ask(const QString& message)
    {
        send(Protocol::toWire(message));
        return waitReply();
    }
};

// The server in-process on free loopback ports, with its log kept.
struct TestHost {
    std::unique_ptr<HostServer> server;
    QStringList log;

    // Serves accounts.txt and data/ of a test folder. Replies wait for the sender
    // to fall quiet; a short quiet time keeps tests quick, as every message
    // arrives in one piece on loopback.
    static HostConfig config(const QString& folder)
    {
        HostConfig cfg;
        cfg.port = 0;
        cfg.accountsFile = folder + QStringLiteral("/accounts.txt");
        cfg.dataDir = folder + QStringLiteral("/data");
        cfg.messageGapMs = 5;
        return cfg;
    }
    void start(const HostConfig& cfg)
    {
        server.reset();
        server = std::make_unique<HostServer>(cfg);
        QObject::connect(server.get(), &HostServer::logLine, server.get(), [this](const QString& l) { log << l; });
        QString error;
        QVERIFY2(server->listen(&error), qPrintable(error));
    }
    // Whether a line logged after the first `from` ones holds text, within the time.
    bool waitLogged(const QString& text, qsizetype from = 0, int timeoutMs = 10000)
    {
        return QTest::qWaitFor([&] { return log.mid(from).join('\n').contains(text); }, timeoutMs);
    }
};
