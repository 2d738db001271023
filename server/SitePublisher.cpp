#include "SitePublisher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <zip.h>

#include <cstdio>

namespace SitePublisher {

QString safeEntryPath(const QString& entryName)
{
    QString name = entryName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':')) || name.contains(QChar(0)))
        return {};
    QStringList parts;
    for (const QString& p : name.split(QLatin1Char('/'))) {
        if (p.isEmpty() || p == QLatin1String("."))
            continue;
        if (p == QLatin1String(".."))
            return {};
        parts << p;
    }
    return parts.join(QLatin1Char('/'));
}

bool unpack(const QString& zipPath, const QString& destDir, qint64 maxTotal, QString* error)
{
    int openError = 0;
    zip_t* za = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &openError);
    if (!za) {
        *error = QStringLiteral("%1 is not a readable zip archive (libzip error %2)")
                     .arg(QFileInfo(zipPath).fileName())
                     .arg(openError);
        return false;
    }
    const QString root = QDir(destDir).absolutePath() + QLatin1Char('/');
    QByteArray buf(256 * 1024, Qt::Uninitialized);
    qint64 total = 0;
    bool ok = true;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        const char* raw = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        const QString name = raw ? QString::fromUtf8(raw) : QString();
        const QString rel = safeEntryPath(name);
        if (rel.isEmpty()) {
            *error = QStringLiteral("entry \"%1\" would land outside the site folder").arg(name);
            ok = false;
            break;
        }
        const QString target = root + rel;
        if (name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\'))) {
            ok = QDir().mkpath(target);
            if (!ok)
                *error = QStringLiteral("cannot create folder %1").arg(rel);
            continue;
        }
        QDir().mkpath(QFileInfo(target).path());
        QFile out(target);
        zip_file_t* zf = zip_fopen_index(za, zip_uint64_t(i), 0);
        if (!zf || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            *error = QStringLiteral("cannot unpack %1").arg(rel);
            if (zf)
                zip_fclose(zf);
            ok = false;
            break;
        }
        for (;;) {
            const zip_int64_t n = zip_fread(zf, buf.data(), zip_uint64_t(buf.size()));
            if (n < 0) {
                *error = QStringLiteral("damaged entry %1: %2")
                             .arg(rel, QString::fromLocal8Bit(zip_error_strerror(zip_file_get_error(zf))));
                ok = false;
                break;
            }
            if (n == 0)
                break;
            total += n;
            if (total > maxTotal) {
                *error = QStringLiteral("unpacked data larger than %1 bytes").arg(maxTotal);
                ok = false;
                break;
            }
            if (out.write(buf.constData(), n) != n) {
                *error = QStringLiteral("cannot write %1: %2").arg(rel, out.errorString());
                ok = false;
                break;
            }
        }
        zip_fclose(zf);
    }
    zip_discard(za);
    return ok;
}

bool publish(const QString& receivedPath, const QString& siteFolder, qint64 maxUnpacked, QString* error)
{
    const QString staging = siteFolder + QStringLiteral(".staging");
    const QString retired = siteFolder + QStringLiteral(".retired");
    QDir(staging).removeRecursively();
    QDir(retired).removeRecursively();
    bool ok = QDir().mkpath(staging) && unpack(receivedPath, staging, maxUnpacked, error);
    const QString innerImages = staging + QStringLiteral("/images.zip");
    if (ok && QFileInfo(innerImages).isFile()) {
        ok = QDir().mkpath(staging + QStringLiteral("/images")) &&
             unpack(innerImages, staging + QStringLiteral("/images"), maxUnpacked, error);
        if (!ok)
            *error = QStringLiteral("images.zip: ") + *error;
    }
    if (!ok) {
        QDir(staging).removeRecursively();
        QFile::remove(receivedPath);
        return false;
    }

    const QString site = siteFolder + QStringLiteral("site");
    if (QFileInfo::exists(site) && !QDir().rename(site, retired)) {
        *error = QStringLiteral("cannot retire the old site");
        QDir(staging).removeRecursively();
        QFile::remove(receivedPath);
        return false;
    }
    QDir().rename(staging, site);
    // rename(2) replaces the old archive in one step.
    const bool stored = std::rename(QFile::encodeName(receivedPath).constData(),
                                    QFile::encodeName(siteFolder + QStringLiteral("ziptest.zip")).constData()) == 0;
    if (!stored) {
        *error = QStringLiteral("cannot store ziptest.zip");
        QFile::remove(receivedPath);
    }
    QDir(retired).removeRecursively();
    return stored;
}

} // namespace SitePublisher
