#include "SiteSync.h"

#include "SitePublisher.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <zip.h>

namespace SiteSync {

namespace {

const QString kImages = QStringLiteral("images");

QString indexPath(const QString& siteFolder)
{
    return siteFolder + QStringLiteral("site.index");
}

// The site folder and its images folder, opened once; entries are reached
// through them without following links.
class SiteDir {
public:
    explicit SiteDir(const QString& path)
    {
        m_root = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_root >= 0)
            m_images = ::openat(m_root, "images", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    ~SiteDir()
    {
        if (m_images >= 0)
            ::close(m_images);
        if (m_root >= 0)
            ::close(m_root);
    }
    SiteDir(const SiteDir&) = delete;
    SiteDir& operator=(const SiteDir&) = delete;

    bool isOpen() const { return m_root >= 0; }
    // The folder holding a manifest path (valid by SyncManifest::isValidPath), and its last name.
    int parent(const QString& path, QByteArray* name) const
    {
        const bool inImages = path.startsWith(kImages + QLatin1Char('/'));
        *name = QFile::encodeName(inImages ? path.mid(kImages.size() + 1) : path);
        return inImages ? m_images : m_root;
    }
    // A regular file (not a link) at path.
    bool statFile(const QString& path, struct stat* st) const
    {
        QByteArray name;
        const int dir = parent(path, &name);
        return dir >= 0 && ::fstatat(dir, name.constData(), st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st->st_mode);
    }
    QByteArray hash(const QString& path) const
    {
        QByteArray name;
        const int dir = parent(path, &name);
        const int fd = dir < 0 ? -1 : ::openat(dir, name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return {};
        QFile f;
        if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return {};
        }
        return SyncManifest::hashDevice(&f);
    }
    // Hard-links path of this folder to the same path of `to`.
    bool linkTo(const SiteDir& to, const QString& path) const
    {
        QByteArray from, name;
        const int src = parent(path, &from);
        const int dst = to.parent(path, &name);
        return src >= 0 && dst >= 0 && ::linkat(src, from.constData(), dst, name.constData(), 0) == 0;
    }

private:
    int m_root = -1;
    int m_images = -1;
};

qint64 mtimeNs(const struct stat& st)
{
    return qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

bool matches(const Indexed& known, const struct stat& st)
{
    return known.size == qint64(st.st_size) && known.mtimeNs == mtimeNs(st) && known.inode == quint64(st.st_ino);
}

Indexed stamped(const struct stat& st, const QByteArray& hash)
{
    return {qint64(st.st_size), mtimeNs(st), quint64(st.st_ino), hash};
}

} // namespace

Index readIndex(const QString& siteFolder)
{
    Index index;
    QFile f(indexPath(siteFolder));
    if (!f.open(QIODevice::ReadOnly))
        return index;
    while (!f.atEnd()) {
        const QList<QByteArray> fields = f.readLine().trimmed().split(' ');
        if (fields.size() != 5)
            continue;
        const Indexed e{fields[1].toLongLong(), fields[2].toLongLong(), fields[3].toULongLong(),
                        SyncManifest::hashFromText(fields[4])};
        if (!e.hash.isEmpty())
            index.insert(QString::fromUtf8(QByteArray::fromPercentEncoding(fields[0])), e);
    }
    return index;
}

bool writeIndex(const QString& siteFolder, const Index& index, QString* error)
{
    QSaveFile f(indexPath(siteFolder));
    QByteArray out;
    for (auto it = index.cbegin(); it != index.cend(); ++it)
        out += QUrl::toPercentEncoding(it.key(), "/") + ' ' + QByteArray::number(it->size) + ' ' +
               QByteArray::number(it->mtimeNs) + ' ' + QByteArray::number(it->inode) + ' ' +
               SyncManifest::hashText(it->hash) + '\n';
    if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size() || !f.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(indexPath(siteFolder), f.errorString());
        return false;
    }
    return true;
}

Index indexSite(const QString& siteDir)
{
    Index index;
    const SiteDir dir(siteDir);
    const auto add = [&](const QString& folder, const QString& prefix) {
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
            const QString path = prefix + name;
            struct stat st;
            if (!SyncManifest::isValidPath(path) || !dir.statFile(path, &st))
                continue;
            const QByteArray hash = dir.hash(path);
            if (!hash.isEmpty())
                index.insert(path, stamped(st, hash));
        }
    };
    add(siteDir, QString());
    add(siteDir + QStringLiteral("/images"), kImages + QLatin1Char('/'));
    return index;
}

void reindex(const QString& siteFolder)
{
    QString why;
    if (!writeIndex(siteFolder, indexSite(siteFolder + QStringLiteral("site")), &why))
        QFile::remove(indexPath(siteFolder));
}

bool needed(const QString& siteFolder, const SyncManifest::List& manifest, QStringList* need, QString* error)
{
    const SiteDir site(siteFolder + QStringLiteral("site"));
    if (!site.isOpen() || !QFile::exists(indexPath(siteFolder))) {
        *error = QStringLiteral("no published site with an index");
        return false;
    }
    const Index index = readIndex(siteFolder);
    need->clear();
    for (const SyncManifest::Entry& e : manifest) {
        const auto known = index.constFind(e.path);
        struct stat st;
        if (known == index.cend() || known->size != e.size || known->hash != e.hash || !site.statFile(e.path, &st) ||
            !matches(*known, st))
            *need << e.path;
    }
    return true;
}

bool isSyncArchive(const QString& zipPath)
{
    int err = 0;
    zip_t* za = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &err);
    if (!za)
        return false;
    const bool found = zip_name_locate(za, SyncManifest::archiveEntryName().toUtf8().constData(), 0) >= 0;
    zip_discard(za);
    return found;
}

namespace {

// Unpacks the upload into staging, links what it does not carry from the
// published site, and checks the result against the manifest.
bool buildStaging(const QString& receivedPath, const QString& staging, const QString& siteDir, const Index& published,
                  SitePublisher::Budget& budget, Index* index, QString* error)
{
    if (!SitePublisher::unpack(receivedPath, staging, budget, error))
        return false;
    const QString manifestFile = staging + QLatin1Char('/') + SyncManifest::archiveEntryName();
    QFile mf(manifestFile);
    SyncManifest::List manifest;
    if (!mf.open(QIODevice::ReadOnly) || mf.size() > SyncManifest::kMaxBytes ||
        !SyncManifest::decode(mf.read(SyncManifest::kMaxBytes + 1), &manifest, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("no readable manifest");
        return false;
    }
    mf.close();
    QFile::remove(manifestFile);

    // Only the files the manifest names, and only in the two folders.
    QSet<QString> named;
    for (const SyncManifest::Entry& e : manifest)
        named.insert(e.path);
    const auto onlyNamed = [&](const QString& folder, const QString& prefix) {
        for (const QFileInfo& fi :
             QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (prefix.isEmpty() && fi.fileName() == kImages && fi.isDir() && !fi.isSymLink())
                continue;
            if (!named.contains(prefix + fi.fileName()) || !fi.isFile() || fi.isSymLink()) {
                *error =
                    QStringLiteral("the upload holds %1, which the manifest does not name").arg(prefix + fi.fileName());
                return false;
            }
        }
        return true;
    };
    QDir().mkpath(staging + QStringLiteral("/images"));
    if (!onlyNamed(staging, QString()) || !onlyNamed(staging + QStringLiteral("/images"), kImages + QLatin1Char('/')))
        return false;

    const SiteDir from(siteDir);
    const SiteDir to(staging);
    index->clear();
    for (const SyncManifest::Entry& e : manifest) {
        struct stat st;
        bool linked = false;
        if (!to.statFile(e.path, &st)) {
            if (!from.linkTo(to, e.path) || !to.statFile(e.path, &st)) {
                *error = QStringLiteral("%1 is neither in the upload nor in the published site").arg(e.path);
                return false;
            }
            linked = true;
        }
        if (qint64(st.st_size) != e.size) {
            *error = QStringLiteral("%1 has %2 bytes, the manifest says %3").arg(e.path).arg(st.st_size).arg(e.size);
            return false;
        }
        const auto known = published.constFind(e.path);
        const QByteArray hash =
            linked && known != published.cend() && matches(*known, st) ? known->hash : to.hash(e.path);
        if (hash != e.hash) {
            *error = QStringLiteral("%1 does not have the content the manifest names").arg(e.path);
            return false;
        }
        index->insert(e.path, stamped(st, hash));
    }
    return true;
}

} // namespace

bool publish(const QString& receivedPath, const QString& siteFolder, const SitePublisher::Budget& budget,
             QString* error)
{
    const Index published = readIndex(siteFolder);
    const QString siteDir = siteFolder + QStringLiteral("site");
    Index index;
    const auto fill = [&](const QString& staging, SitePublisher::Budget& left, QString* why) {
        return buildStaging(receivedPath, staging, siteDir, published, left, &index, why);
    };
    if (!SitePublisher::publish(receivedPath, siteFolder, budget, error, {}, fill))
        return false;
    QString why;
    if (!writeIndex(siteFolder, index, &why))
        QFile::remove(indexPath(siteFolder)); // the next upload is a full one
    return true;
}

} // namespace SiteSync
