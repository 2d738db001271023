#include "WorkspaceManifest.h"

#include "publish/SitePacker.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <sys/stat.h>

namespace {

constexpr qint64 kRacyMs = 2000;

bool statFile(const QString& path, qint64* size, qint64* mtimeNs)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    *size = qint64(st.st_size);
    *mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return true;
}

} // namespace

HashCache::HashCache(const QString& file) : m_file(file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    while (!f.atEnd()) {
        const QList<QByteArray> fields = f.readLine().trimmed().split(' ');
        if (fields.size() != 5)
            continue;
        Item it;
        it.hash = SyncManifest::hashFromText(fields[0]);
        it.size = fields[1].toLongLong();
        it.mtimeNs = fields[2].toLongLong();
        it.hashedAtMs = fields[3].toLongLong();
        if (!it.hash.isEmpty())
            m_loaded.insert(QString::fromUtf8(QByteArray::fromPercentEncoding(fields[4])), it);
    }
}

QByteArray HashCache::hashOf(const QString& absolutePath)
{
    Item now;
    if (!statFile(absolutePath, &now.size, &now.mtimeNs))
        return {};
    const auto known = m_loaded.constFind(absolutePath);
    if (known != m_loaded.cend() && known->size == now.size && known->mtimeNs == now.mtimeNs &&
        known->mtimeNs / 1000000 + kRacyMs < known->hashedAtMs) {
        m_used.insert(absolutePath, *known);
        return known->hash;
    }
    now.hashedAtMs = QDateTime::currentMSecsSinceEpoch();
    now.hash = SyncManifest::hashFile(absolutePath);
    ++m_computed;
    qint64 sizeAfter = 0, mtimeAfter = 0;
    // Changed while it was read: not worth keeping.
    if (now.hash.isEmpty() || !statFile(absolutePath, &sizeAfter, &mtimeAfter) || sizeAfter != now.size ||
        mtimeAfter != now.mtimeNs)
        return now.hash;
    m_used.insert(absolutePath, now);
    return now.hash;
}

bool HashCache::save() const
{
    if (m_computed == 0 && m_used.size() == m_loaded.size())
        return true; // nothing new
    QSaveFile f(m_file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray out;
    for (auto it = m_used.cbegin(); it != m_used.cend(); ++it) {
        out += SyncManifest::hashText(it->hash) + ' ' + QByteArray::number(it->size) + ' ' +
               QByteArray::number(it->mtimeNs) + ' ' + QByteArray::number(it->hashedAtMs) + ' ' +
               QUrl::toPercentEncoding(it.key(), "/") + '\n';
    }
    return f.write(out) == out.size() && f.commit();
}

namespace WorkspaceManifest {

bool build(const QString& workPath, const QString& dbPath, const QByteArray& dbSnapshot, HashCache& cache,
           SyncManifest::List* entries, QString* error)
{
    const QString dbAbs = QFileInfo(dbPath).absoluteFilePath();
    SyncManifest::List out;
    const auto addFolder = [&](const QString& folder, const QString& prefix) {
        const QFileInfoList files =
            QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& fi : files) {
            const QString name = fi.fileName();
            if (SitePacker::isServerScript(name) || (prefix.isEmpty() && name == SitePacker::imagesArchiveName()))
                continue;
            SyncManifest::Entry e;
            e.path = prefix + name;
            if (!SyncManifest::isValidPath(e.path)) {
                *error = QStringLiteral("name cannot travel in a manifest: %1").arg(e.path);
                return false;
            }
            if (fi.absoluteFilePath() == dbAbs) {
                e.size = dbSnapshot.size();
                e.hash = SyncManifest::hashBytes(dbSnapshot);
            } else {
                e.size = fi.size();
                e.hash = cache.hashOf(fi.absoluteFilePath());
            }
            if (e.hash.isEmpty()) {
                *error = QStringLiteral("cannot read %1").arg(fi.absoluteFilePath());
                return false;
            }
            out << e;
        }
        return true;
    };
    if (!addFolder(workPath, QString()) || !addFolder(workPath + QStringLiteral("images/"), QStringLiteral("images/")))
        return false;
    if (out.size() > SyncManifest::kMaxEntries) {
        *error = QStringLiteral("%1 files, more than a manifest holds").arg(out.size());
        return false;
    }
    *entries = out;
    return true;
}

} // namespace WorkspaceManifest
