#include "HostServer.h"

#include "SitePublisher.h"
#include "SiteSync.h"
#include "WebServer.h"
#include "publish/Protocol.h"
#include "text/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

using Protocol::Tag;

struct HostServer::Connection {
    int id = 0;
    QTcpSocket* socket = nullptr;
    QString peer;
    MessageFramer framer;
    QList<MessageFramer::Message> queued; // framed, not handled yet
    QTimer gap;                           // the framer's quiet time
    QString account;                      // set once logged in
    bool closed = false;
    QTimer idle;         // no bytes for too long: closed (an upload: abandoned)
    bool paused = false; // the answer to a login waits (throttled)
    int wrongPasswords = 0;

    // Archive being received.
    qint64 expected = -1;
    qint64 received = 0;
    QFile upload;
    QString uploadSite;
    bool uploading() const { return expected >= 0; }
    // A sync manifest was answered: the next upload may be a sync upload.
    bool syncOffered = false;
    bool syncUpload = false;

    // A length announcement held (at the head of queued) until the publish of its site ends.
    bool waiting = false;
    QTimer waitLimit;
    bool held() const { return waiting || paused; }

    explicit Connection(const MessageFramer::Rules& rules) : framer(rules) {}
};

namespace {

constexpr qint64 kReadChunk = 256 * 1024;

QString shortened(const QString& text)
{
    return text.size() > 200 ? text.left(200) + QStringLiteral("...") : text;
}

// Text from clients reaches the log with every character that could start a line
// of its own or reorder what is shown escaped, so no client can forge a line.
QString escapedForLog(const QString& line)
{
    QString out;
    out.reserve(line.size());
    for (const QChar ch : line) {
        const char16_t u = ch.unicode();
        if (u == '\\')
            out += QStringLiteral("\\\\");
        else if (u == '\n')
            out += QStringLiteral("\\n");
        else if (u == '\r')
            out += QStringLiteral("\\r");
        else if (u == '\t')
            out += QStringLiteral("\\t");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            out += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        else if (ch.category() == QChar::Separator_Line || ch.category() == QChar::Separator_Paragraph ||
                 ch.category() == QChar::Other_Format)
            out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    return out;
}

} // namespace

HostServer::HostServer(const HostConfig& config, QObject* parent)
    : QObject(parent), m_config(config), m_store(config.accountsFile, config.dataDir), m_server(new QTcpServer(this)),
      m_throttle(config.throttle)
{
    m_clock.start();
    connect(m_server, &QTcpServer::newConnection, this, &HostServer::onNewConnection);
}

HostServer::~HostServer()
{
    // A publish in flight gives up its unpacking (or finishes its moves, so no
    // site is left half swapped); renderings are killed.
    m_stopping->store(true);
    delete m_renders;
    m_renders = nullptr;
    for (QFutureWatcherBase* w : std::as_const(m_publishing))
        w->waitForFinished();
    for (auto& [id, c] : m_connections) {
        disconnect(c->socket, nullptr, this, nullptr);
        if (c->uploading())
            dropUpload(c.get(), QStringLiteral("server stopped"));
    }
}

bool HostServer::listen(QString* error)
{
    if (!m_server->listen(m_config.address, m_config.port)) {
        if (error)
            *error = m_server->errorString();
        return false;
    }
    log(QStringLiteral("listening on %1:%2, data in %3")
            .arg(m_config.address.toString())
            .arg(m_server->serverPort())
            .arg(m_store.dataDir()));
    if (m_config.httpPort >= 0) {
        m_web = new SiteWebServer(m_store.dataDir() + QStringLiteral("sites/"), m_config.web, this);
        connect(m_web, &SiteWebServer::logLine, this, &HostServer::log); // queued from the serving threads
        QString why;
        if (!m_web->listen(m_config.address, quint16(m_config.httpPort), &why)) {
            if (error)
                *error = QStringLiteral("HTTP port %1: %2").arg(m_config.httpPort).arg(why);
            delete m_web;
            m_web = nullptr;
            m_server->close();
            return false;
        }
        m_renders = new RenderJobs(m_config.appPath, m_config.render, this);
        connect(m_renders, &RenderJobs::logLine, this, &HostServer::log);
        log(QStringLiteral("serving the sites at http://%1:%2/<site>/%3, at most %4 connections")
                .arg(m_config.address.toString())
                .arg(m_web->serverPort())
                .arg(m_config.web.siteDomain.isEmpty()
                         ? QString()
                         : QStringLiteral(" and http://<site>.%1/").arg(m_config.web.siteDomain))
                .arg(m_web->connectionLimit()));
        renderMissing();
    }
    return true;
}

quint16 HostServer::serverPort() const
{
    return m_server->serverPort();
}

quint16 HostServer::httpPort() const
{
    return m_web ? m_web->serverPort() : 0;
}

// Sites published before the web side was switched on get their rendering now,
// as any other rendering: in the background, nobody waiting for it.
void HostServer::renderMissing()
{
    const QDir sites(m_store.dataDir() + QStringLiteral("sites"));
    for (const QString& name : sites.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = m_store.siteFolder(name);
        if (!SiteStore::isValidSiteName(name) || !QFileInfo(folder + QStringLiteral("site")).isDir() ||
            QFileInfo::exists(folder + QStringLiteral("www")))
            continue;
        render(name);
    }
}

void HostServer::render(const QString& site)
{
    if (m_renders)
        m_renders->request(site, m_store.siteFolder(site));
}

// The site's publish is over: uploads that waited for it go ahead.
void HostServer::siteFree(const QString& site)
{
    m_busySites.remove(site.toLower());
    m_publishingSites.remove(site.toLower());
    for (auto& [otherId, other] : m_connections) {
        if (!other->closed && other->waiting &&
            m_store.siteOf(other->account).compare(site, Qt::CaseInsensitive) == 0) {
            other->waitLimit.stop();
            other->waiting = false;
            drain(other.get());
            onReadyRead(other.get());
        }
    }
}

void HostServer::log(const QString& text)
{
    Q_EMIT logLine(escapedForLog(text));
}

void HostServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        const QString address = socket->peerAddress().toString();
        int fromThere = 0;
        for (const auto& [id, other] : m_connections)
            fromThere += !other->closed && other->socket->peerAddress().toString() == address;
        if (fromThere >= m_config.maxPerAddress) {
            log(QStringLiteral("connection from %1 refused: %2 open from there already").arg(address).arg(fromThere));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto owned =
            std::make_unique<Connection>(MessageFramer::serverSide(m_config.maxMessageBytes, m_config.messageGapMs));
        Connection* c = owned.get();
        c->id = m_nextId++;
        c->socket = socket;
        // Bytes that arrive while the connection waits (a throttled login, a publish
        // of its site) stay in the kernel, not in an ever-growing buffer here.
        socket->setReadBufferSize(4 * kReadChunk);
        c->peer = socket->peerAddress().toString() + QLatin1Char(':') + QString::number(socket->peerPort());
        c->gap.setSingleShot(true);
        c->gap.setTimerType(Qt::PreciseTimer);
        connect(&c->gap, &QTimer::timeout, this, [this, c] { receive(c, c->framer.tick(m_clock.elapsed())); });
        c->waitLimit.setSingleShot(true);
        c->waitLimit.setInterval(m_config.announcementWaitMs);
        connect(&c->waitLimit, &QTimer::timeout, this, [this, c] {
            c->waiting = false;
            c->queued.removeFirst();
            log(QStringLiteral("connection %1: upload refused: the running publish took too long").arg(c->id));
            reply(c, Protocol::tagText(Tag::ErrMsg));
            drain(c);
            onReadyRead(c);
        });
        c->idle.setSingleShot(true);
        connect(&c->idle, &QTimer::timeout, this, [this, c] {
            const QString why = QStringLiteral("nothing received for %1 s").arg(c->idle.interval() / 1000.0);
            dropUpload(c, why);
            drop(c, why);
        });
        touch(c);
        connect(socket, &QTcpSocket::readyRead, this, [this, c] { onReadyRead(c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, c] { onDisconnected(c); });
        m_connections.emplace(c->id, std::move(owned));
        log(QStringLiteral("connection %1 from %2").arg(c->id).arg(c->peer));
    }
}

// Bytes came (or the state changed): the quiet time that closes the connection
// starts again, the one for an upload, a session or a stranger.
void HostServer::touch(Connection* c)
{
    c->idle.start(c->uploading()         ? m_config.uploadStallMs
                  : c->account.isEmpty() ? m_config.idleMs
                                         : m_config.sessionIdleMs);
}

void HostServer::onReadyRead(Connection* c)
{
    if (!c->closed && c->socket->bytesAvailable() > 0)
        touch(c);
    while (!c->closed && !c->held()) {
        if (c->uploading()) {
            const QByteArray chunk = c->socket->read(qMin(kReadChunk, c->expected - c->received));
            if (chunk.isEmpty())
                return;
            feedUpload(c, chunk);
            continue;
        }
        const QByteArray bytes = c->socket->readAll();
        if (bytes.isEmpty())
            return;
        receive(c, c->framer.feed(bytes, m_clock.elapsed()));
    }
}

void HostServer::receive(Connection* c, const QList<Message>& messages)
{
    if (c->closed)
        return;
    if (c->framer.overflowed()) {
        drop(c, QStringLiteral("a message grew past %1 bytes without an end").arg(m_config.maxMessageBytes));
        return;
    }
    if (const qsizetype skipped = c->framer.takeSkipped())
        log(QStringLiteral("connection %1: %2 bytes without a tag ignored").arg(c->id).arg(skipped));
    c->queued += messages;
    drain(c);
    if (c->closed)
        return;
    const qint64 due = c->framer.dueAt();
    if (due < 0 || c->uploading())
        c->gap.stop();
    else
        c->gap.start(int(qMax<qint64>(0, due - m_clock.elapsed())));
}

// Handles the framed messages in order, unless the connection waits. What follows
// an accepted length announcement is archive data, even what looked like messages.
void HostServer::drain(Connection* c)
{
    while (!c->closed && !c->held() && !c->uploading() && !c->queued.isEmpty())
        handleMessage(c, c->queued.takeFirst());
    if (c->closed || !c->uploading())
        return;
    QByteArray raw;
    for (const Message& m : std::as_const(c->queued))
        raw += m.bytes;
    c->queued.clear();
    raw += c->framer.takeBuffered();
    const QByteArray after = feedUpload(c, raw);
    if (!after.isEmpty())
        receive(c, c->framer.feed(after, m_clock.elapsed()));
}

void HostServer::reply(Connection* c, const QString& text)
{
    if (!c->closed && c->socket->state() == QAbstractSocket::ConnectedState)
        c->socket->write(Protocol::toWire(text));
}

const QList<QPair<Tag, HostServer::Handler>>& HostServer::handlers()
{
    static const QList<QPair<Tag, Handler>> table = {
        {Tag::Login, &HostServer::onLogin},
        {Tag::GetVersion, &HostServer::onVersion},
        {Tag::SiteName, &HostServer::onSiteName},
        {Tag::ModPwd, &HostServer::onModPwd},
        {Tag::SendFileInfo, &HostServer::onSendFileInfo},
        {Tag::TalkMsg, &HostServer::onTalk},
        {Tag::SyncManifest, &HostServer::onSyncManifest},
    };
    return table;
}

void HostServer::handleMessage(Connection* c, const Message& message)
{
    const QString payload = message.text.mid(Protocol::tagText(message.tag).size());
    for (const auto& [tag, handler] : handlers()) {
        if (tag == message.tag) {
            (this->*handler)(c, message, payload);
            return;
        }
    }
    log(QStringLiteral("connection %1: unknown message of %2 bytes ignored").arg(c->id).arg(message.bytes.size()));
}

// A throttled answer holds the connection's later messages until it is given.
void HostServer::onLogin(Connection* c, const Message&, const QString& payload)
{
    QString account, password;
    const bool right = Protocol::splitLogin(payload, &account, &password) && m_store.checkLogin(account, password);
    const QString address = c->socket->peerAddress().toString();
    const qint64 delay = m_throttle.delayMs(address, shortened(account), right, m_clock.elapsed());
    if (right)
        m_throttle.succeeded(address);
    else
        m_throttle.failed(address, shortened(account), m_clock.elapsed());
    if (delay <= 0) {
        answerLogin(c, account, right);
        return;
    }
    log(QStringLiteral("connection %1: login for \"%2\" answered in %3 ms (wrong passwords from %4 or for the account)")
            .arg(c->id)
            .arg(shortened(account))
            .arg(delay)
            .arg(address));
    c->paused = true;
    QTimer::singleShot(int(delay), this, [this, id = c->id, account, right] {
        const auto it = m_connections.find(id);
        if (it == m_connections.end() || it->second->closed)
            return;
        Connection* held = it->second.get();
        held->paused = false;
        answerLogin(held, account, right);
        drain(held);
        onReadyRead(held);
    });
}

void HostServer::answerLogin(Connection* c, const QString& account, bool right)
{
    if (right) {
        c->account = account;
        log(QStringLiteral("connection %1: account %2 logged in").arg(c->id).arg(account));
        reply(c, Protocol::tagText(Tag::Login));
        touch(c);
        return;
    }
    c->account.clear();
    log(QStringLiteral("connection %1: login refused for \"%2\"").arg(c->id).arg(shortened(account)));
    reply(c, Protocol::tagText(Tag::Logout));
    if (++c->wrongPasswords >= m_throttle.rules().closeAfter) {
        c->socket->flush();
        drop(c, QStringLiteral("%1 wrong passwords").arg(c->wrongPasswords));
    }
}

void HostServer::onVersion(Connection* c, const Message&, const QString& payload)
{
    log(QStringLiteral("connection %1: version query (%2)").arg(c->id).arg(shortened(payload)));
    reply(c, Protocol::tagText(Tag::GetVersion) + notice());
}

void HostServer::onSiteName(Connection* c, const Message&, const QString& payload)
{
    const QString errMsg = Protocol::tagText(Tag::ErrMsg);
    if (c->account.isEmpty()) {
        reply(c, errMsg);
        return;
    }
    const QString current = m_store.siteOf(c->account);
    if (!current.isEmpty() && m_busySites.contains(current.toLower())) {
        log(QStringLiteral("connection %1: site name change refused during an upload").arg(c->id));
        reply(c, errMsg);
        return;
    }
    QString error;
    switch (m_store.claimSiteName(c->account, payload, &error)) {
    case SiteStore::Claim::Granted:
        log(QStringLiteral("connection %1: account %2 has site name %3").arg(c->id).arg(c->account, payload));
        reply(c, Protocol::tagText(Tag::SiteName));
        break;
    case SiteStore::Claim::Taken:
        log(QStringLiteral("connection %1: site name %2 is taken").arg(c->id).arg(payload));
        reply(c, Protocol::tagText(Tag::SiteNameExist));
        break;
    case SiteStore::Claim::Invalid:
        log(QStringLiteral("connection %1: site name \"%2\" refused, only letters and digits")
                .arg(c->id)
                .arg(shortened(payload)));
        reply(c, errMsg);
        break;
    case SiteStore::Claim::Failed:
        log(QStringLiteral("connection %1: site name %2 not stored: %3").arg(c->id).arg(payload, error));
        reply(c, errMsg);
        break;
    }
}

void HostServer::onModPwd(Connection* c, const Message&, const QString& payload)
{
    QString error;
    if (!c->account.isEmpty() && m_store.changePassword(c->account, payload, &error)) {
        log(QStringLiteral("connection %1: account %2 changed its password").arg(c->id).arg(c->account));
        reply(c, Protocol::tagText(Tag::ModPwd));
    } else {
        log(QStringLiteral("connection %1: password change refused: %2")
                .arg(c->id)
                .arg(c->account.isEmpty() ? QStringLiteral("not logged in") : error));
        reply(c, Protocol::tagText(Tag::ErrMsg));
    }
}

void HostServer::onSendFileInfo(Connection* c, const Message& m, const QString& payload)
{
    const QString errMsg = Protocol::tagText(Tag::ErrMsg);
    const QString site = m_store.siteOf(c->account);
    bool isNumber = false;
    const qint64 length = payload.toLongLong(&isNumber);
    QString refusal;
    if (c->account.isEmpty())
        refusal = QStringLiteral("not logged in");
    else if (site.isEmpty())
        refusal = QStringLiteral("the account has no site name");
    else if (!isNumber || length < 0 || payload.trimmed() != payload)
        refusal = QStringLiteral("bad length \"%1\"").arg(shortened(payload));
    else if (length == 0)
        refusal = QStringLiteral("empty archive");
    else if (length > m_config.maxUploadBytes || length > 2147483647LL)
        refusal = QStringLiteral("%1 bytes is over the limit of %2 bytes").arg(length).arg(m_config.maxUploadBytes);
    else if (m_busySites.contains(site.toLower())) {
        if (waitForPublish(c, m, site))
            return;
        refusal = QStringLiteral("another upload of %1 is running").arg(site);
    }
    if (refusal.isEmpty()) {
        const QString folder = m_store.siteFolder(site);
        QDir().mkpath(folder);
        c->upload.setFileName(folder + QStringLiteral(".upload.part"));
        if (!c->upload.open(QIODevice::WriteOnly | QIODevice::Truncate))
            refusal = QStringLiteral("cannot store the upload: %1").arg(c->upload.errorString());
    }
    const bool sync = std::exchange(c->syncOffered, false);
    if (!refusal.isEmpty()) {
        log(QStringLiteral("connection %1: upload refused: %2").arg(c->id).arg(refusal));
        reply(c, errMsg);
        return;
    }
    c->syncUpload = sync;
    c->expected = length;
    c->received = 0;
    c->uploadSite = site;
    m_busySites.insert(site.toLower());
    touch(c);
    log(QStringLiteral("connection %1: receiving %2 bytes for site %3").arg(c->id).arg(length).arg(site));
    reply(c, Protocol::tagText(Tag::SendFileInfo));
}

// The previous upload of this site is still being published: answer when it is
// in place (a quick second upload then just works), but not later than the
// client waits. One being received is refused.
bool HostServer::waitForPublish(Connection* c, const Message& m, const QString& site)
{
    if (!m_publishingSites.contains(site.toLower()) || c->waiting)
        return false;
    c->queued.prepend(m);
    c->waiting = true;
    c->waitLimit.start();
    log(QStringLiteral("connection %1: %2 for %3 waits until the running publish ends")
            .arg(c->id)
            .arg(m.tag == Tag::SyncManifest ? QStringLiteral("sync offer") : QStringLiteral("upload"), site));
    return true;
}

void HostServer::onSyncManifest(Connection* c, const Message& m, const QString& payload)
{
    c->syncOffered = false;
    const QString site = m_store.siteOf(c->account);
    QString refusal;
    SyncManifest::List manifest;
    QStringList need;
    if (c->account.isEmpty() || site.isEmpty())
        refusal = QStringLiteral("not logged in or no site name");
    else if (m_busySites.contains(site.toLower())) {
        if (waitForPublish(c, m, site))
            return;
        refusal = QStringLiteral("another upload of %1 is running").arg(site);
    } else if (!SyncManifest::decode(payload.toUtf8(), &manifest, &refusal)) {
        refusal = QStringLiteral("bad manifest: ") + refusal;
    } else if (!SiteSync::needed(m_store.siteFolder(site), manifest, &need, &refusal)) {
        refusal = QStringLiteral("nothing to sync with: ") + refusal;
    }
    if (!refusal.isEmpty()) {
        log(QStringLiteral("connection %1: sync offer refused, a full upload follows: %2").arg(c->id).arg(refusal));
        reply(c, Protocol::tagText(Tag::ErrMsg));
        return;
    }
    c->syncOffered = true;
    log(QStringLiteral("connection %1: sync offer for %2: %3 files, %4 to send")
            .arg(c->id)
            .arg(site)
            .arg(manifest.size())
            .arg(need.size()));
    reply(c, SyncManifest::needMessage(need));
}

void HostServer::onTalk(Connection* c, const Message&, const QString& payload)
{
    log(QStringLiteral("connection %1 (%2) says: %3")
            .arg(c->id)
            .arg(c->account.isEmpty() ? QStringLiteral("-") : c->account, shortened(TextCodec::decode(payload))));
}

QByteArray HostServer::feedUpload(Connection* c, const QByteArray& bytes)
{
    const qint64 n = qMin<qint64>(bytes.size(), c->expected - c->received);
    if (c->upload.write(bytes.constData(), n) != n) {
        const QString why = QStringLiteral("cannot write the upload: %1").arg(c->upload.errorString());
        dropUpload(c, why);
        drop(c, why);
        return {};
    }
    c->received += n;
    if (c->received == c->expected)
        finishUpload(c);
    return bytes.mid(n);
}

void HostServer::finishUpload(Connection* c)
{
    const int id = c->id;
    const QString site = c->uploadSite;
    const QString received = c->upload.fileName();
    const QString folder = m_store.siteFolder(site);
    const qint64 bytes = c->received;
    const SitePublisher::Budget budget{m_config.unpackFactor * m_config.maxUploadBytes, m_config.maxUnpackEntries,
                                       m_stopping.get()};
    const bool sync = std::exchange(c->syncUpload, false);
    c->upload.close();
    c->expected = -1;
    touch(c);
    m_publishingSites.insert(site.toLower());
    log(QStringLiteral("connection %1: %2 bytes received for site %3, publishing%4")
            .arg(id)
            .arg(bytes)
            .arg(site, sync ? QStringLiteral(" (sync)") : QString()));

    // Unpacking a large site takes a while: it runs on a worker so every other
    // connection is served meanwhile. The site stays busy until it is done: a
    // second upload of it waits, a rename is refused. With a web side, the site
    // is then rendered in the background; nobody waits for that.
    struct Outcome {
        QString error;       // null when published
        bool synced = false; // published from a sync upload
    };
    auto* watcher = new QFutureWatcher<Outcome>(this);
    m_publishing.append(watcher);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, id, site, bytes] {
        const Outcome outcome = watcher->result();
        const QString& error = outcome.error;
        m_publishing.removeOne(watcher);
        watcher->deleteLater();
        const bool ok = error.isNull();
        if (ok) {
            log(QStringLiteral("connection %1: site %2 published (%3 bytes)").arg(id).arg(site).arg(bytes));
            const auto it = m_connections.find(id);
            if (outcome.synced && it != m_connections.end())
                reply(it->second.get(), Protocol::tagText(Tag::SyncDone));
        } else {
            log(QStringLiteral("connection %1: upload for %2 refused: %3").arg(id).arg(site, error));
            const auto it = m_connections.find(id);
            if (it != m_connections.end())
                reply(it->second.get(), Protocol::tagText(Tag::ErrMsg));
        }
        Q_EMIT uploadFinished(site, ok);
        siteFree(site);
        if (ok)
            render(site);
    });
    watcher->setFuture(QtConcurrent::run([received, folder, budget, sync, stopping = m_stopping] {
        Outcome outcome;
        outcome.synced = sync && SiteSync::isSyncArchive(received);
        const bool published = outcome.synced ? SiteSync::publish(received, folder, budget, &outcome.error)
                                              : SitePublisher::publish(received, folder, budget, &outcome.error);
        if (!published) {
            if (outcome.error.isEmpty())
                outcome.error = QStringLiteral("publishing failed");
            return outcome;
        }
        outcome.error = QString();
        if (!outcome.synced)
            SiteSync::reindex(folder);
        return outcome;
    }));
}

void HostServer::dropUpload(Connection* c, const QString& why)
{
    if (!c->uploading())
        return;
    c->upload.close();
    c->upload.remove();
    c->expected = -1;
    m_busySites.remove(c->uploadSite.toLower());
    log(QStringLiteral("connection %1: upload for %2 abandoned after %3 bytes: %4")
            .arg(c->id)
            .arg(c->uploadSite)
            .arg(c->received)
            .arg(why));
    Q_EMIT uploadFinished(c->uploadSite, false);
}

void HostServer::drop(Connection* c, const QString& why)
{
    if (c->closed)
        return;
    log(QStringLiteral("connection %1 dropped: %2").arg(c->id).arg(why));
    c->queued.clear();
    c->socket->abort();
    onDisconnected(c);
}

void HostServer::onDisconnected(Connection* c)
{
    if (c->closed)
        return;
    // Bytes that came with the close still count.
    if (c->socket->bytesAvailable() > 0)
        onReadyRead(c);
    if (c->closed)
        return;
    c->closed = true;
    c->gap.stop();
    c->idle.stop();
    c->waitLimit.stop();
    dropUpload(c, QStringLiteral("connection closed"));
    log(QStringLiteral("connection %1 closed%2")
            .arg(c->id)
            .arg(c->account.isEmpty() ? QString() : QStringLiteral(" (account %1)").arg(c->account)));
    const int id = c->id;
    disconnect(c->socket, nullptr, this, nullptr);
    c->socket->deleteLater();
    // Not erased here: we may be inside one of this connection's own handlers.
    QTimer::singleShot(0, this, [this, id] { m_connections.erase(id); });
}

QString HostServer::notice() const
{
    if (!m_config.noticeFile.isEmpty()) {
        QFile f(m_config.noticeFile);
        if (f.open(QIODevice::ReadOnly))
            return QString::fromUtf8(f.readAll());
    }
    return QStringLiteral("<b>欢迎使用网站托管服务。</b>");
}

int HostServer::sendToAll(const QString& text)
{
    int n = 0;
    for (auto& [id, c] : m_connections) {
        if (!c->closed) {
            reply(c.get(), text);
            ++n;
        }
    }
    return n;
}

QString HostServer::operatorHelp()
{
    return QStringLiteral("commands:\n"
                          "  say TEXT        chat line to every connected client\n"
                          "  tell ID TEXT    chat line to one connection (ID from list)\n"
                          "  notice TEXT     system message to every connected client\n"
                          "  list            the open connections\n"
                          "  quit            stop the server");
}

QString HostServer::operatorCommand(const QString& line)
{
    const QString trimmed = line.trimmed();
    const QString word = trimmed.section(QLatin1Char(' '), 0, 0);
    const QString rest = trimmed.mid(word.size()).trimmed();
    if (word == QLatin1String("say") || word == QLatin1String("notice")) {
        if (rest.isEmpty())
            return QStringLiteral("usage: %1 TEXT").arg(word);
        const Tag tag = word == QLatin1String("say") ? Tag::TalkMsg : Tag::SystemMsg;
        const int n = sendToAll(Protocol::tagText(tag) + rest);
        log(QStringLiteral("operator %1: %2").arg(word, rest));
        return QStringLiteral("sent to %1 connection(s)").arg(n);
    }
    if (word == QLatin1String("tell")) {
        const QString idText = rest.section(QLatin1Char(' '), 0, 0);
        const QString text = rest.mid(idText.size()).trimmed();
        const auto it = m_connections.find(idText.toInt());
        if (text.isEmpty())
            return QStringLiteral("usage: tell ID TEXT");
        if (it == m_connections.end() || it->second->closed)
            return QStringLiteral("no connection %1").arg(idText);
        reply(it->second.get(), Protocol::tagText(Tag::TalkMsg) + text);
        log(QStringLiteral("operator to connection %1: %2").arg(idText, text));
        return QStringLiteral("sent");
    }
    if (word == QLatin1String("list")) {
        QStringList lines;
        for (const auto& [id, c] : m_connections) {
            if (c->closed)
                continue;
            QString state =
                c->account.isEmpty() ? QStringLiteral("not logged in") : QStringLiteral("account %1").arg(c->account);
            const QString site = m_store.siteOf(c->account);
            if (!c->account.isEmpty() && !site.isEmpty())
                state += QStringLiteral(", site %1").arg(site);
            if (c->uploading())
                state += QStringLiteral(", uploading %1/%2 bytes").arg(c->received).arg(c->expected);
            lines << QStringLiteral("%1  %2  %3").arg(id).arg(c->peer, state);
        }
        return lines.isEmpty() ? QStringLiteral("no connections") : lines.join(QLatin1Char('\n'));
    }
    if (word.isEmpty() || word == QLatin1String("help"))
        return operatorHelp();
    return QStringLiteral("unknown command \"%1\"\n").arg(word) + operatorHelp();
}
