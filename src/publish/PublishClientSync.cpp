// The sync of changed files (SyncManifest.h): offer, answer, small upload, and
// the full upload whenever the server does not take part.
#include "PublishClient.h"

#include "core/Messages.h"
#include "data/SiteDb.h"
#include "publish/ArchiveSender.h"
#include "publish/WorkspaceManifest.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTcpSocket>
#include <QTimer>
#include <QtConcurrent>

using Protocol::Tag;

void PublishClient::startSyncOffer()
{
    const QString dbPath = m_workPath + SiteDb::kFileName;
    m_syncStage = SyncStage::Hashing;
    const QString cacheFile = m_dataPath + HashCache::fileName();
    const QString workPath = m_workPath;
    const QByteArray db = m_dbSnapshot;
    m_syncWatcher->setFuture(QtConcurrent::run([cacheFile, workPath, dbPath, db] {
        SyncJob job;
        HashCache cache(cacheFile);
        job.ok = WorkspaceManifest::build(workPath, dbPath, db, cache, &job.entries, &job.error);
        cache.save(); // a cache that cannot be written only costs time next publish
        return job;
    }));
}

void PublishClient::syncJobFinished()
{
    const SyncJob job = m_syncWatcher->result();
    if (!m_packWanted)
        return;                           // the publishing window went meanwhile
    if (m_syncStage == SyncStage::None) { // the connection went meanwhile
        m_packWanted = false;
        m_zipTimer->stop();
        Q_EMIT uploadEnabled(true);
        say(Messages::text(Messages::Id::NotConnected), Messages::notice(), MsgIcon::Warning);
        return;
    }
    if (!job.ok) {
        fallBackToFullUpload(job.error);
        return;
    }
    if (m_syncStage == SyncStage::Hashing) {
        const QString offer = SyncManifest::offerMessage(job.entries);
        if (offer.size() > SyncManifest::kMaxBytes) {
            fallBackToFullUpload(QStringLiteral("manifest too large"));
            return;
        }
        m_syncEntries = job.entries;
        m_syncStage = SyncStage::Offered;
        m_socket->write(Protocol::toWire(offer));
        m_syncTimer->start(syncWaitMs);
        return;
    }
    // The small archive is packed.
    m_packWanted = false;
    m_zipTimer->stop();
    Q_EMIT uploadEnabled(true);
    setPanel(2, SitePacker::packedText());
    m_syncFiles = job.files;
    m_syncStage = SyncStage::Sending;
    announceArchive(job.archive);
    if (!m_session.uploadAnnounced)
        endSync(); // refused before it went out; the box said why
}

bool PublishClient::handleSyncReply(const QString& reply)
{
    if (m_syncStage == SyncStage::None)
        return false;
    const QString needTag = Protocol::tagText(Tag::SyncNeed);
    if (m_syncStage == SyncStage::Offered && reply.startsWith(needTag)) {
        m_syncTimer->stop();
        QStringList need;
        if (!SyncManifest::decodeNeed(Protocol::toWire(reply.mid(needTag.size())), &need)) {
            fallBackToFullUpload(QStringLiteral("unreadable answer"));
            return true;
        }
        // Only files of the manifest (never a server script the server might ask
        // for), and the database always: it is what changes with every edit.
        const QSet<QString> asked(need.cbegin(), need.cend());
        need.clear();
        for (const SyncManifest::Entry& e : std::as_const(m_syncEntries)) {
            if (e.path == SiteDb::kFileName || asked.contains(e.path))
                need << e.path;
        }
        m_syncStage = SyncStage::Packing;
        const QString dataPath = m_dataPath;
        const QString workPath = m_workPath;
        const QString dbPath = workPath + SiteDb::kFileName;
        const QByteArray db = m_dbSnapshot;
        const bool haveDb = m_haveDbSnapshot;
        const QByteArray manifest = SyncManifest::encode(m_syncEntries);
        m_syncWatcher->setFuture(QtConcurrent::run([dataPath, workPath, dbPath, db, haveDb, manifest, need] {
            SyncJob job;
            SitePacker packer(dataPath, workPath);
            if (haveDb)
                packer.useSnapshot(dbPath, db);
            job.ok = packer.zipChanges(need, manifest);
            job.error = packer.errorText();
            job.archive = packer.uploadArchivePath();
            job.files = int(need.size());
            return job;
        }));
        return true;
    }
    if (m_syncStage == SyncStage::AwaitingDone && reply.startsWith(Protocol::tagText(Tag::SyncDone))) {
        const qint64 sent = QFileInfo(m_uploadArchive).size();
        endSync();
        say(ArchiveSender::completedText(), Messages::notice(), MsgIcon::Information);
        setPanel(2, SyncManifest::sentText(m_syncFiles, sent));
        return true;
    }
    // Refused or failed on the server: the described upload, at once and without a box.
    if (Protocol::classifyServerMessage(reply) == Tag::ErrMsg && !m_session.uploading &&
        m_syncStage != SyncStage::Hashing && m_syncStage != SyncStage::Packing) {
        m_session.uploadAnnounced = false;
        m_announceTimer->stop();
        fallBackToFullUpload(QStringLiteral("refused by the server"));
        return true;
    }
    return false;
}

void PublishClient::syncTimedOut()
{
    if (m_syncStage == SyncStage::Offered) {
        fallBackToFullUpload(QStringLiteral("no answer")); // a server without the sync
    } else if (m_syncStage == SyncStage::AwaitingDone) {
        // All bytes went out but the server did not confirm in time.
        endSync();
        say(ArchiveSender::completedText(), Messages::notice(), MsgIcon::Information);
        setPanel(2, ArchiveSender::completedText());
    }
}

void PublishClient::fallBackToFullUpload(const QString& why)
{
    Q_UNUSED(why)
    endSync();
    startFullPacking(); // tells, when it is done, if the connection went meanwhile
}

bool PublishClient::syncUploadSent()
{
    if (m_syncStage != SyncStage::Sending)
        return false;
    m_syncStage = SyncStage::AwaitingDone;
    m_syncTimer->start(announceTimeoutMs);
    return true;
}

void PublishClient::endSync()
{
    m_syncTimer->stop();
    if (m_syncStage == SyncStage::Offered && m_packWanted) {
        // Waiting for the server's answer, nothing runs that would give the command back.
        m_packWanted = false;
        m_zipTimer->stop();
        Q_EMIT uploadEnabled(true);
    }
    m_syncStage = SyncStage::None;
}
