#pragma once

#include "core/DialogService.h"
#include "publish/MessageFramer.h"
#include "publish/PublishSession.h"
#include "publish/SitePacker.h"
#include "publish/SyncManifest.h"

#include <QAbstractSocket>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QQueue>

class ArchiveSender;
class QTcpSocket;
class QTimer;
class SiteDb;

// The one connection to the hosting server, shared by the publishing, chat and
// notice windows: the socket, the session state, the timers, the packing and
// the archive upload. It decides everything and reports what the windows show
// through signals; the windows only bind their controls to it.
class PublishClient : public QObject {
    Q_OBJECT
public:
    explicit PublishClient(SiteDb& db, QObject* parent = nullptr);
    ~PublishClient() override;

    const PublishSession& session() const { return m_session; }

    // The port is 1234; tests point it at their own server.
    quint16 serverPort = Protocol::kDefaultPort;
    // How long the server may take to answer the upload's length announcement.
    int announceTimeoutMs = 60000;
    // Uploads offer the sync of changed files first (SyncManifest.h); a server
    // that has not answered the offer after syncWaitMs gets the full upload.
    bool offerSync = true;
    int syncWaitMs = 3000;

    TickCounter idleTicks{PublishRules::kIdleTickLimit};
    TickCounter verTicks{PublishRules::kVersionTickLimit};

    // What the publishing window shows when it loads. The session is reset first.
    struct Account {
        bool ok = false; // false: error says why (no settings row: noRow)
        bool noRow = false;
        QString error;
        QString serial;   // "" when blank
        QString siteName; // as stored
    };
    Account load();

    bool isConnected() const;
    // Packing or sending: the upload command and the hints of the window wait.
    bool isBusy() const;
    bool isPacking() const;
    bool idleWatchdogActive() const;

    // Connects unless connected. The typed account becomes the stored one; the
    // login (or, without an account, the version query) goes out once connected.
    void connectToServer(const QString& host, const QString& account, const QString& password);
    // The user's disconnect.
    void disconnectFromServer();
    // The publishing window goes: the connection closes without a word, and an
    // upload in progress ends (the session flags otherwise stay as they are).
    void closeConnection();

    // One text message; refused with a box when not connected or while the archive travels.
    void sendToServer(const QString& text);
    enum class SendResult { Sent, NotConnected, Failed };
    // A chat line, sent as it is; the chat window reports the outcome itself.
    SendResult sendChat(const QString& encodedText, QString* error);

    void claimSiteName(const QString& name);
    // True when the new password went out (the window then empties both boxes).
    bool changePassword(const QString& newPwd, const QString& confirm);
    // Checks, packs on a worker thread and announces the archive. False when it
    // was refused because no site name is set (the window then focuses the name).
    // The archive is written in dataPath.
    bool upload(const QString& dataPath, const QString& workPath);

    // "不再显示" ticked or not: field06 of the settings row. Returns the error text, "" when stored.
    QString storeNoticeSetting(bool hide, const QDate& today);

    // Server texts waiting for the chat or notice page, oldest first; taking them empties the queue.
    bool hasPageTexts(ServerReaction::Page page) const;
    QStringList takePageTexts(ServerReaction::Page page);

    // Tick handlers of the idle watchdog, the version query, the packing status
    // and the announcement limit.
    void Timer_sck_Timer();
    void timer_verion_Timer();
    void timer_doZip_Timer();
    void announceTimedOut();
    void syncTimedOut();

Q_SIGNALS:
    void panelChanged(int panel, const QString& text);
    // A message box for the window to show through the dialog service.
    void messageWanted(const QString& text, const QString& title, MsgIcon icon);
    void connectEnabled(bool enabled);
    void disconnectEnabled(bool enabled);
    void uploadEnabled(bool enabled);
    void changeWebNameEnabled(bool enabled);
    // The server refused a site name: the name box shows the last good one again.
    void webNameRestored(const QString& name);
    void progressChanged(qint64 value, qint64 maximum);
    // A server text for the chat window (Chat) or the notice window (Announcement):
    // the window is to be shown, and a text waits in its queue.
    void pageWanted(ServerReaction::Page page);
    void pageTextQueued(ServerReaction::Page page);

private:
    void say(const QString& text, const QString& title, MsgIcon icon);
    void setPanel(int panel, const QString& text) { Q_EMIT panelChanged(panel, text); }
    void setConnectButtons(bool connect, bool disconnect);
    void stopSessionTimers();
    void closeSocket();
    void readIncoming();
    void burstEnded();
    void takeReplies(const QList<MessageFramer::Message>& replies);
    void handleReplies();
    void applyReaction(const ServerReaction& r);
    void onConnected();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void packingFinished();
    void startFullPacking();
    void announceArchive(const QString& archive);
    // The sync (PublishClientSync.cpp).
    struct SyncJob {
        bool ok = false;
        QString error;
        SyncManifest::List entries;
        QString archive;
        int files = 0;
    };
    enum class SyncStage { None, Hashing, Offered, Packing, Sending, AwaitingDone };
    void startSyncOffer();
    void syncJobFinished();
    bool handleSyncReply(const QString& reply);
    void fallBackToFullUpload(const QString& why);
    bool syncUploadSent();
    void endSync();
    void sendZipFile();
    void onSendProgress(qint64 bytesSent);
    void onUploadComplete();
    void onUploadFailed(const QString& why);
    void endUpload();
    QString socketErrorText() const;

    SiteDb& m_db;
    PublishSession m_session;
    QTcpSocket* m_socket = nullptr;
    ArchiveSender* m_sender = nullptr;
    QTimer* m_idleTimer = nullptr;     // Timer_sck
    QTimer* m_versionTimer = nullptr;  // timer_verion
    QTimer* m_zipTimer = nullptr;      // timer_doZip
    QTimer* m_quietTimer = nullptr;    // ends a burst of received bytes when the server falls quiet
    QTimer* m_announceTimer = nullptr; // the server's answer to the length announcement
    QFutureWatcher<SitePacker::Result>* m_packWatcher = nullptr;
    QString m_uploadArchive;
    QString m_dataPath;
    QString m_workPath;
    QTimer* m_syncTimer = nullptr;
    QFutureWatcher<SyncJob>* m_syncWatcher = nullptr;
    SyncStage m_syncStage = SyncStage::None;
    SyncManifest::List m_syncEntries;
    QByteArray m_dbSnapshot;
    bool m_haveDbSnapshot = false;
    int m_syncFiles = 0;

    MessageFramer m_framer{MessageFramer::clientSide()};
    QElapsedTimer m_clock;     // the framer's time
    QQueue<QString> m_replies; // complete replies not handled yet
    bool m_handling = false;   // a reply is being handled (maybe inside a message box)
    bool m_closingOurselves = false;
    bool m_packWanted = false; // packing runs for an upload still wanted
    bool m_errorReported = false;
    qint64 m_progress = 0;
    QString m_claimedName;
    QString m_loginAccount;
    QString m_password;
    QStringList m_chatTexts;
    QStringList m_noticeTexts;
};
