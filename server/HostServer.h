#pragma once

#include "LoginThrottle.h"
#include "RenderJobs.h"
#include "SiteStore.h"
#include "WebServer.h"
#include "publish/MessageFramer.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <atomic>
#include <map>
#include <memory>

class QFutureWatcherBase;
class QTcpServer;
class SiteWebServer;

struct HostConfig {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 1234;
    QString accountsFile;
    QString dataDir;
    QString noticeFile; // empty: a built-in announcement
    qint64 maxUploadBytes = 1024LL * 1024 * 1024;
    // An upload unpacks, its images.zip included, to at most this many times its
    // limit and to at most this many files and folders.
    int unpackFactor = 8;
    qint64 maxUnpackEntries = 20000;
    qint64 maxMessageBytes = 1024 * 1024; // a message without an end that grows past this drops the connection
    int messageGapMs = 50;                // quiet time that ends the last message of a burst
    // Longest a length announcement waits for the running publish of its site;
    // well below the time the client waits for an answer.
    int announcementWaitMs = 30000;
    // An upload that gets no byte for this long is abandoned.
    int uploadStallMs = 60000;
    // A connection that sends nothing for this long is closed: before a login,
    // and after one (well above the ten minutes after which the program's own
    // watchdog gives up a quiet connection).
    int idleMs = 120000;
    int sessionIdleMs = 900000;
    int maxPerAddress = 16; // open publishing connections from one address
    LoginThrottle::Rules throttle;
    // The web side: every published site rendered and served over HTTP on this
    // port of the same address (-1: no web side; 0 picks a free port), with the
    // themes of the application folder appPath.
    int httpPort = -1;
    WebOptions web;
    QString appPath;
    RenderOptions render;
};

// The reference hosting server: answers the publishing client's messages,
// receives its archive and publishes it, and passes on the operator's chat
// lines and notices.
//
// Messages are cut by the shared framer (MessageFramer::serverSide). After the
// server has accepted "<#sendFileInfo#>N", the next N bytes are archive data,
// whatever they contain.
class HostServer : public QObject {
    Q_OBJECT
public:
    explicit HostServer(const HostConfig& config, QObject* parent = nullptr);
    ~HostServer() override;

    bool listen(QString* error);
    quint16 serverPort() const;
    quint16 httpPort() const; // 0 without a web side
    const SiteStore& store() const { return m_store; }

    // One line typed by the operator ("say TEXT", "tell ID TEXT", "notice TEXT",
    // "list", "help"); returns what to show the operator.
    QString operatorCommand(const QString& line);
    static QString operatorHelp();

    int connectionCount() const { return int(m_connections.size()); }

Q_SIGNALS:
    void logLine(const QString& line);
    // An upload ended: published, or refused/failed (emitted once the publish,
    // which runs on a worker, is done).
    void uploadFinished(const QString& siteName, bool published);

private:
    struct Connection;
    using Message = MessageFramer::Message;
    using Handler = void (HostServer::*)(Connection*, const Message&, const QString& payload);
    static const QList<QPair<Protocol::Tag, Handler>>& handlers();

    void onNewConnection();
    void onReadyRead(Connection* c);
    void touch(Connection* c);
    void answerLogin(Connection* c, const QString& account, bool right);
    void onDisconnected(Connection* c);
    void receive(Connection* c, const QList<Message>& messages);
    void drain(Connection* c);
    void handleMessage(Connection* c, const Message& message);
    void onLogin(Connection* c, const Message& m, const QString& payload);
    void onVersion(Connection* c, const Message& m, const QString& payload);
    void onSiteName(Connection* c, const Message& m, const QString& payload);
    void onModPwd(Connection* c, const Message& m, const QString& payload);
    void onSendFileInfo(Connection* c, const Message& m, const QString& payload);
    void onTalk(Connection* c, const Message& m, const QString& payload);
    void onSyncManifest(Connection* c, const Message& m, const QString& payload);
    // Holds the message until the running publish of site ends; false when none runs.
    bool waitForPublish(Connection* c, const Message& m, const QString& site);
    // Writes archive bytes; returns what lies beyond the archive's end.
    QByteArray feedUpload(Connection* c, const QByteArray& bytes);
    void finishUpload(Connection* c);
    void dropUpload(Connection* c, const QString& why);
    void renderMissing();
    void render(const QString& site);
    void siteFree(const QString& site);
    void reply(Connection* c, const QString& text);
    void drop(Connection* c, const QString& why);
    QString notice() const;
    int sendToAll(const QString& text);
    void log(const QString& text);

    HostConfig m_config;
    SiteStore m_store;
    QTcpServer* m_server;
    SiteWebServer* m_web = nullptr;
    RenderJobs* m_renders = nullptr;
    LoginThrottle m_throttle;
    std::shared_ptr<std::atomic<bool>> m_stopping = std::make_shared<std::atomic<bool>>(false);
    std::map<int, std::unique_ptr<Connection>> m_connections;
    QSet<QString> m_busySites;       // lower-case names with an upload being received or published
    QSet<QString> m_publishingSites; // the subset of m_busySites being unpacked
    QList<QFutureWatcherBase*> m_publishing;
    int m_nextId = 1;
    QElapsedTimer m_clock; // the framers' time
};
