#include "PublishClient.h"

#include "core/Messages.h"
#include "data/SettingsRow.h"
#include "data/SiteDb.h"
#include "publish/ArchiveSender.h"
#include "text/ErrorText.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTimer>
#include <QtConcurrent>

namespace {
QString busyText()
{
    return QStringLiteral("正在上传数据，请等上传完毕后再操作！");
}
QString notLoggedInText()
{
    return QStringLiteral("还没登陆服务器！");
}
QString unfinishedText()
{
    return QStringLiteral("数据上传未完成！");
}
QTimer* makeTimer(QObject* parent, int intervalMs, bool singleShot = false)
{
    auto* t = new QTimer(parent);
    t->setInterval(intervalMs);
    t->setSingleShot(singleShot);
    return t;
}
} // namespace

PublishClient::PublishClient(SiteDb& db, QObject* parent) : QObject(parent), m_db(db)
{
    m_clock.start();
    m_socket = new QTcpSocket(this);
    m_socket->setObjectName(QStringLiteral("sckClient"));
    m_sender = new ArchiveSender(this);
    m_idleTimer = makeTimer(this, PublishRules::kIdleIntervalMs);
    m_versionTimer = makeTimer(this, PublishRules::kVersionIntervalMs);
    m_zipTimer = makeTimer(this, PublishRules::kZipStatusIntervalMs);
    m_quietTimer = makeTimer(this, 0, true);
    m_quietTimer->setTimerType(Qt::PreciseTimer);
    m_announceTimer = makeTimer(this, announceTimeoutMs, true);
    m_packWatcher = new QFutureWatcher<SitePacker::Result>(this);
    m_syncTimer = makeTimer(this, syncWaitMs, true);
    m_syncWatcher = new QFutureWatcher<SyncJob>(this);
    connect(m_syncTimer, &QTimer::timeout, this, &PublishClient::syncTimedOut);
    connect(m_syncWatcher, &QFutureWatcherBase::finished, this, &PublishClient::syncJobFinished);

    connect(m_idleTimer, &QTimer::timeout, this, &PublishClient::Timer_sck_Timer);
    connect(m_versionTimer, &QTimer::timeout, this, &PublishClient::timer_verion_Timer);
    connect(m_zipTimer, &QTimer::timeout, this, &PublishClient::timer_doZip_Timer);
    connect(m_quietTimer, &QTimer::timeout, this, &PublishClient::burstEnded);
    connect(m_announceTimer, &QTimer::timeout, this, &PublishClient::announceTimedOut);
    connect(m_packWatcher, &QFutureWatcherBase::finished, this, &PublishClient::packingFinished);
    // The socket's own error handler runs before the archive sender's: it is connected first.
    connect(m_socket, &QTcpSocket::connected, this, &PublishClient::onConnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &PublishClient::onSocketError);
    connect(m_socket, &QTcpSocket::disconnected, this, &PublishClient::onDisconnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &PublishClient::readIncoming);
    connect(m_sender, &ArchiveSender::progress, this, &PublishClient::onSendProgress);
    connect(m_sender, &ArchiveSender::completed, this, &PublishClient::onUploadComplete);
    connect(m_sender, &ArchiveSender::failed, this, &PublishClient::onUploadFailed);
}

PublishClient::~PublishClient()
{
    m_sender->cancel();
    m_socket->disconnect(this);
    m_socket->abort();
}

PublishClient::Account PublishClient::load()
{
    m_session.resetForLoad();
    Account a;
    const SqlResult res = m_db.selectUserInfo();
    if (!res.ok) {
        a.error = res.error;
        return a;
    }
    if (res.isEmpty()) {
        a.noRow = true;
        return a;
    }
    const SettingsRow row = SettingsRow::fromRecord(res.first());
    const QString serial = row.serial;
    m_session.userAccount = serial.trimmed().isEmpty() ? QString() : serial;
    a.serial = m_session.userAccount;
    a.siteName = row.siteName;
    m_session.siteNameSet = !a.siteName.trimmed().isEmpty();
    m_session.confirmedSiteName = m_session.siteNameSet ? a.siteName : QString();
    a.ok = true;
    return a;
}

bool PublishClient::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

bool PublishClient::isPacking() const
{
    return m_packWatcher->isRunning() || m_syncWatcher->isRunning();
}

bool PublishClient::isBusy() const
{
    return isPacking() || m_session.busyUploading() || m_syncStage != SyncStage::None;
}

bool PublishClient::idleWatchdogActive() const
{
    return m_idleTimer->isActive();
}

void PublishClient::say(const QString& text, const QString& title, MsgIcon icon)
{
    Q_EMIT messageWanted(text, title, icon);
}

void PublishClient::setConnectButtons(bool connect, bool disconnect)
{
    Q_EMIT connectEnabled(connect);
    Q_EMIT disconnectEnabled(disconnect);
}

QString PublishClient::socketErrorText() const
{
    return ErrorText::socket(m_socket->error(), m_socket->errorString());
}

// ---- connection ----

void PublishClient::connectToServer(const QString& host, const QString& account, const QString& password)
{
    if (isConnected())
        return;
    // The account number the user typed becomes the stored one, so that it is
    // used for this login and offered again next time.
    const QString typed = account.trimmed().isEmpty() ? QString() : account;
    if (typed != m_session.userAccount) {
        const SqlResult res = m_db.run(QStringLiteral("UPDATE user_info SET serial=?"), {typed});
        if (res.ok)
            m_session.userAccount = typed;
        else
            say(res.error, Messages::notice(), MsgIcon::Information);
    }
    m_loginAccount = account;
    m_password = password;
    closeSocket();
    m_errorReported = false;
    m_framer.reset();
    m_replies.clear();
    setPanel(1, QStringLiteral("正在和服务器建立连接..."));
    m_socket->connectToHost(host.trimmed(), serverPort);
    setConnectButtons(false, true);
}

void PublishClient::disconnectFromServer()
{
    const bool cut = m_sender->isSending() || m_session.uploading;
    closeSocket();
    setPanel(1, QStringLiteral("已与服务器断开连接"));
    setConnectButtons(true, false);
    m_session.loggedIn = false;
    if (cut) {
        setPanel(2, unfinishedText());
        endUpload();
    }
}

void PublishClient::closeConnection()
{
    m_packWanted = false;
    closeSocket();
    if (m_session.uploading)
        endUpload();
    m_zipTimer->stop();
    m_framer.reset();
    m_replies.clear();
}

void PublishClient::closeSocket()
{
    m_sender->cancel();
    m_closingOurselves = true;
    m_socket->abort();
    m_closingOurselves = false;
    m_session.uploadAnnounced = false;
    m_quietTimer->stop();
    // A session that is over has nothing left to time.
    m_idleTimer->stop();
    idleTicks.reset();
    m_versionTimer->stop();
    verTicks.reset();
    m_announceTimer->stop();
    endSync();
}

void PublishClient::onConnected()
{
    setPanel(1, QStringLiteral("已与服务器建立连接"));
    if (!m_session.userAccount.trimmed().isEmpty())
        sendToServer(Protocol::loginMessage(m_loginAccount, m_password));
    else
        sendToServer(Protocol::versionQuery());
}

void PublishClient::onSocketError(QAbstractSocket::SocketError error)
{
    // A close by the server is not a failure; onDisconnected reports it.
    if (error == QAbstractSocket::RemoteHostClosedError || m_closingOurselves)
        return;
    m_errorReported = true;
    // One failure, one box: an upload cut by the error is told in the same box.
    QString text = socketErrorText();
    const bool cut = m_sender->isSending() || m_session.uploading;
    closeSocket();
    if (cut) {
        endUpload();
        setPanel(2, unfinishedText());
        text = ArchiveSender::interruptedText() + QStringLiteral("\r\n") + text;
    }
    setPanel(1, QStringLiteral("与服务器建立连接失败！"));
    say(text, Messages::warning(), MsgIcon::Critical);
    setPanel(1, Messages::notConnectedYet());
    setConnectButtons(true, false);
}

void PublishClient::onDisconnected()
{
    if (m_closingOurselves)
        return;
    if (m_errorReported) { // already reported as an error
        m_errorReported = false;
        return;
    }
    const bool cut = m_sender->isSending() || m_session.uploading;
    closeSocket();
    setPanel(1, QStringLiteral("已与服务器断开连接"));
    setConnectButtons(true, false);
    m_session.loggedIn = false;
    if (cut)
        onUploadFailed(ArchiveSender::interruptedText());
}

// ---- sending ----

void PublishClient::sendToServer(const QString& text)
{
    if (m_session.busyUploading() && isConnected()) {
        say(busyText(), Messages::notice(), MsgIcon::Information);
        return;
    }
    if (!isConnected()) {
        say(Messages::text(Messages::Id::NotConnected), Messages::notice(), MsgIcon::Warning);
        return;
    }
    m_socket->write(Protocol::toWire(text));
}

PublishClient::SendResult PublishClient::sendChat(const QString& encodedText, QString* error)
{
    if (!isConnected())
        return SendResult::NotConnected;
    if (m_session.busyUploading()) {
        // Text sent now would travel inside the archive.
        if (error)
            *error = busyText();
        return SendResult::Failed;
    }
    if (m_socket->write(Protocol::toWire(Protocol::talkMessage(encodedText))) < 0) {
        if (error)
            *error = socketErrorText();
        return SendResult::Failed;
    }
    return SendResult::Sent;
}

void PublishClient::claimSiteName(const QString& name)
{
    if (name.trimmed().isEmpty()) {
        say(QStringLiteral("不能未空！"), Messages::notice(), MsgIcon::Information);
    } else if (!m_session.loggedIn) {
        say(notLoggedInText(), Messages::warning(), MsgIcon::Critical);
    } else {
        // The name stored when the server accepts is the name sent, even if the box changed meanwhile.
        m_claimedName = name;
        sendToServer(Protocol::siteNameMessage(name));
        Q_EMIT changeWebNameEnabled(false);
    }
}

bool PublishClient::changePassword(const QString& newPwd, const QString& confirm)
{
    if (!m_session.loggedIn) {
        say(notLoggedInText(), Messages::warning(), MsgIcon::Critical);
        return false;
    }
    if (newPwd.trimmed() != confirm) {
        say(QStringLiteral("两次密码不同，请重新输入!"), Messages::notice(), MsgIcon::Critical);
        return false;
    }
    sendToServer(Protocol::modPwdMessage(newPwd));
    return true;
}

// ---- timers ----

void PublishClient::Timer_sck_Timer()
{
    if (!idleTicks.tick())
        return;
    disconnectFromServer();
    say(QStringLiteral("连接超时，已于服务器断开连接！"), Messages::notice(), MsgIcon::Information);
    m_idleTimer->stop();
}

void PublishClient::timer_verion_Timer()
{
    if (!verTicks.tick())
        return;
    if (m_session.busyUploading() && isConnected())
        return; // asked again once the archive is through
    sendToServer(Protocol::versionQuery());
    m_versionTimer->stop();
}

void PublishClient::timer_doZip_Timer()
{
    setPanel(2, SitePacker::packingText());
}

void PublishClient::announceTimedOut()
{
    if (!m_session.uploadAnnounced)
        return;
    // What the server would make of anything sent from now on is unknown (it
    // could still take it for archive bytes), so the connection is given up.
    closeSocket();
    m_session.loggedIn = false;
    m_session.zipLength = 0;
    setPanel(1, QStringLiteral("已与服务器断开连接"));
    setPanel(2, unfinishedText());
    setConnectButtons(true, false);
    Q_EMIT uploadEnabled(true);
    say(QStringLiteral("服务器长时间没有回应上传请求，上传已取消，并已与服务器断开连接。请重新连接服务器后再上传！"),
        Messages::warning(), MsgIcon::Critical);
}

// ---- server replies ----

void PublishClient::readIncoming()
{
    takeReplies(m_framer.feed(m_socket->readAll(), m_clock.elapsed()));
}

void PublishClient::burstEnded()
{
    takeReplies(m_framer.tick(m_clock.elapsed()));
}

void PublishClient::takeReplies(const QList<MessageFramer::Message>& replies)
{
    // The last reply is complete when the server falls quiet.
    const qint64 due = m_framer.dueAt();
    if (due < 0)
        m_quietTimer->stop();
    else
        m_quietTimer->start(int(qMax<qint64>(0, due - m_clock.elapsed())));
    for (const MessageFramer::Message& m : replies)
        m_replies.append(m.text);
    handleReplies();
}

void PublishClient::handleReplies()
{
    // Replies that arrive while a message box of an earlier one is open wait
    // for it, so that every reply is handled in the order received.
    if (m_handling)
        return;
    m_handling = true;
    while (!m_replies.isEmpty()) {
        const QString reply = m_replies.dequeue();
        if (handleSyncReply(reply))
            continue;
        const QString webName = m_claimedName.isEmpty() ? m_session.confirmedSiteName : m_claimedName;
        applyReaction(reactToServerMessage(reply, m_session, m_db, webName, QDate::currentDate()));
    }
    m_handling = false;
}

void PublishClient::applyReaction(const ServerReaction& r)
{
    if (r.ignored())
        return;
    if (!r.panel1.isEmpty())
        setPanel(1, r.panel1);
    if (r.enableConnect)
        Q_EMIT connectEnabled(true);
    if (r.disableChangeWebName)
        Q_EMIT changeWebNameEnabled(false);
    if (r.restoreWebName)
        Q_EMIT webNameRestored(m_session.confirmedSiteName);
    if (r.closeSocket)
        closeSocket();
    if (r.startIdleWatchdog) {
        idleTicks.reset();
        m_idleTimer->start();
    }
    if (!m_session.uploadAnnounced)
        m_announceTimer->stop(); // answered, or refused
    for (const ServerReaction::Box& b : r.boxes)
        say(b.text, b.title, b.icon);
    // The version query goes out once the login box is closed.
    if (r.startVersionTimer) {
        verTicks.reset();
        m_versionTimer->start();
    }
    if (r.sendArchive)
        sendZipFile();
    if (r.page != ServerReaction::Page::None) {
        (r.page == ServerReaction::Page::Chat ? m_chatTexts : m_noticeTexts) << r.pageText;
        Q_EMIT pageWanted(r.page);
        Q_EMIT pageTextQueued(r.page);
    }
}

QString PublishClient::storeNoticeSetting(bool hide, const QDate& today)
{
    const SqlResult res =
        m_db.run(QStringLiteral("UPDATE user_info SET field06=?"), {PublishRules::noticeSetting(hide, today)});
    return res.ok ? QString() : res.error;
}

bool PublishClient::hasPageTexts(ServerReaction::Page page) const
{
    return !(page == ServerReaction::Page::Chat ? m_chatTexts : m_noticeTexts).isEmpty();
}

QStringList PublishClient::takePageTexts(ServerReaction::Page page)
{
    if (page == ServerReaction::Page::None)
        return {};
    return std::exchange(page == ServerReaction::Page::Chat ? m_chatTexts : m_noticeTexts, QStringList());
}

// ---- upload ----

bool PublishClient::upload(const QString& dataPath, const QString& workPath)
{
    if (!m_session.loggedIn) {
        say(notLoggedInText(), Messages::warning(), MsgIcon::Critical);
        return true;
    }
    if (!m_session.siteNameSet) {
        say(QStringLiteral("请输入一站点名！"), Messages::warning(), MsgIcon::Critical);
        return false;
    }
    if (isPacking() || m_syncStage != SyncStage::None || (m_session.busyUploading() && isConnected())) {
        say(busyText(), Messages::notice(), MsgIcon::Information);
        return true;
    }
    m_packWanted = true;
    m_dataPath = dataPath;
    m_workPath = workPath;
    // The database as it stands now; windows may save while the worker packs.
    QFile dbFile(workPath + SiteDb::kFileName);
    m_haveDbSnapshot = dbFile.open(QIODevice::ReadOnly);
    m_dbSnapshot = m_haveDbSnapshot ? dbFile.readAll() : QByteArray();
    Q_EMIT uploadEnabled(false);
    timer_doZip_Timer();
    m_zipTimer->start();
    if (offerSync)
        startSyncOffer();
    else
        startFullPacking();
    return true;
}

void PublishClient::startFullPacking()
{
    // Packing runs on a worker thread so that the window and the connection stay served.
    m_packWanted = true;
    Q_EMIT uploadEnabled(false);
    m_zipTimer->start();
    const QString dataPath = m_dataPath;
    const QString workPath = m_workPath;
    const QString dbPath = workPath + SiteDb::kFileName;
    const QByteArray database = m_dbSnapshot; // as it was when the user asked to upload
    const bool haveDatabase = m_haveDbSnapshot;
    m_packWatcher->setFuture(QtConcurrent::run([dataPath, workPath, dbPath, database, haveDatabase] {
        SitePacker packer(dataPath, workPath);
        if (haveDatabase)
            packer.useSnapshot(dbPath, database);
        packer.zipSiteData();
        return packer.result();
    }));
}

void PublishClient::packingFinished()
{
    m_zipTimer->stop();
    const SitePacker::Result r = m_packWatcher->result();
    if (!std::exchange(m_packWanted, false))
        return; // the publishing window went meanwhile
    Q_EMIT uploadEnabled(true);
    for (const QString& message : r.archiveMessages)
        say(message, Messages::notice(), MsgIcon::None);
    if (!r.ok) {
        say(r.error, Messages::notice(), MsgIcon::None);
        say(QStringLiteral("压缩文件出错！"), Messages::warning(), MsgIcon::Critical);
        return;
    }
    setPanel(2, SitePacker::packedText());
    announceArchive(r.uploadArchive);
}

void PublishClient::announceArchive(const QString& archive)
{
    // The length travels in a 32-bit signed field: a larger archive cannot be announced.
    const qint64 length = QFileInfo(archive).size();
    if (!ArchiveSender::fitsLengthField(length)) {
        say(ArchiveSender::tooLargeText(length), Messages::warning(), MsgIcon::Critical);
        return;
    }
    m_uploadArchive = archive;
    m_session.zipLength = qint32(length);
    sendToServer(Protocol::sendFileInfoMessage(m_session.zipLength));
    if (isConnected()) {
        m_session.uploadAnnounced = true;
        m_announceTimer->start(announceTimeoutMs);
    }
}

void PublishClient::sendZipFile()
{
    m_progress = 0;
    Q_EMIT progressChanged(0, m_session.zipLength);
    if (!m_sender->sendZipFile(m_socket, m_uploadArchive, m_session.zipLength))
        onUploadFailed(m_sender->errorText());
}

void PublishClient::onSendProgress(qint64 bytesSent)
{
    if (!m_session.uploading)
        return;
    idleTicks.reset();
    m_progress += bytesSent;
    Q_EMIT progressChanged(m_progress, m_session.zipLength);
    setPanel(2, ArchiveSender::uploadingText());
    Q_EMIT uploadEnabled(false);
}

void PublishClient::endUpload()
{
    m_sender->cancel();
    m_progress = 0;
    Q_EMIT progressChanged(0, m_session.zipLength);
    m_session.uploading = false;
    m_session.zipLength = 0;
    Q_EMIT uploadEnabled(true);
}

void PublishClient::onUploadComplete()
{
    if (!m_session.uploading)
        return;
    endUpload();
    if (syncUploadSent())
        return; // reported when the server has the new site in place
    say(ArchiveSender::completedText(), Messages::notice(), MsgIcon::Information);
    setPanel(2, ArchiveSender::completedText());
}

void PublishClient::onUploadFailed(const QString& why)
{
    endUpload();
    setPanel(2, unfinishedText());
    say(why, Messages::warning(), MsgIcon::Critical);
}
