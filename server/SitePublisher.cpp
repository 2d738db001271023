#include "SitePublisher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <zip.h>

#include <cstdio>
#include <fcntl.h>

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

bool unpack(const QString& zipPath, const QString& destDir, Budget& budget, QString* error)
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
    const zip_int64_t count = zip_get_num_entries(za, 0);
    // Refused before anything is written: millions of entries would use up the inodes.
    bool ok = count <= budget.entries;
    if (!ok)
        *error = QStringLiteral("more than %1 entries").arg(budget.entries);
    budget.entries -= count;
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
            if (budget.cancel && budget.cancel->load()) {
                *error = QStringLiteral("the server is stopping");
                ok = false;
                break;
            }
            budget.bytes -= n;
            if (budget.bytes < 0) {
                *error = QStringLiteral("unpacked data over the limit");
                ok = false;
                break;
            }
            if (out.write(buf.constData(), n) != n) {
                *error = QStringLiteral("cannot write %1: %2").arg(rel, out.errorString());
                ok = false;
                break;
            }
        }
        // What a full disk refuses may show only when the buffer is written out.
        if (ok && !out.flush()) {
            *error = QStringLiteral("cannot write %1: %2").arg(rel, out.errorString());
            ok = false;
        }
        zip_fclose(zf);
    }
    zip_discard(za);
    return ok;
}

bool moveEntry(const QString& from, const QString& to, bool exchange)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD, QFile::encodeName(to).constData(),
                       exchange ? RENAME_EXCHANGE : 0) == 0;
}

static bool present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool swapIn(const QString& staging, const QString& target, const QString& retired, const QString& what, QString* error,
            const Move& move)
{
    const Move mv = move ? move : Move(&moveEntry);
    const bool hadTarget = present(target);
    if (hadTarget && mv(staging, target, true)) {
        if (!mv(staging, retired, false))
            QDir(staging).removeRecursively(); // the previous one, out of the way anyhow
        return true;
    }
    if (hadTarget && !mv(target, retired, false)) {
        *error = QStringLiteral("cannot move the previous %1 aside").arg(what);
        return false;
    }
    if (!mv(staging, target, false)) {
        *error = hadTarget && !mv(retired, target, false)
                     ? QStringLiteral("cannot move the new %1 into place, nor the previous one back from %2")
                           .arg(what, retired)
                     : QStringLiteral("cannot move the new %1 into place").arg(what);
        return false;
    }
    return true;
}

bool publish(const QString& receivedPath, const QString& siteFolder, Budget budget, QString* error, const Move& move,
             const Fill& fill)
{
    const Move mv = move ? move : Move(&moveEntry);
    const QString staging = siteFolder + QStringLiteral(".staging");
    const QString retired = siteFolder + QStringLiteral(".retired");
    const QString site = siteFolder + QStringLiteral("site");
    const QString archive = siteFolder + QStringLiteral("ziptest.zip");
    const auto fail = [&](const QString& why) {
        if (!why.isEmpty())
            *error = why;
        QDir(staging).removeRecursively();
        QFile::remove(receivedPath);
        return false;
    };

    // A publish cut short between moving the old site aside and moving the new
    // one in left the only copy in .retired: bring it back before anything else.
    if (!present(site) && present(retired) && !mv(retired, site, false))
        return fail(QStringLiteral("the previous site is in %1 and cannot be moved back").arg(retired));
    QDir(staging).removeRecursively();
    QDir(retired).removeRecursively();

    bool ok =
        QDir().mkpath(staging) && (fill ? fill(staging, budget, error) : unpack(receivedPath, staging, budget, error));
    const QString innerImages = staging + QStringLiteral("/images.zip");
    if (ok && !fill && QFileInfo(innerImages).isFile()) {
        ok = QDir().mkpath(staging + QStringLiteral("/images")) &&
             unpack(innerImages, staging + QStringLiteral("/images"), budget, error);
        if (!ok)
            *error = QStringLiteral("images.zip: ") + *error;
    }
    if (!ok)
        return fail(QString());

    // Swap the folders, then store the archive (rename(2) replaces the old one in
    // one step). When the archive cannot be stored the previous site comes back,
    // so the previous site and archive stay online.
    const bool hadSite = present(site);
    QString why;
    if (!swapIn(staging, site, retired, QStringLiteral("site"), &why, mv))
        return fail(why);
    if (!mv(receivedPath, archive, false)) {
        if (hadSite ? !mv(retired, site, true) : !mv(site, staging, false))
            return fail(
                QStringLiteral("cannot store ziptest.zip, nor put the previous site back (it is in %1)").arg(retired));
        QDir(retired).removeRecursively(); // the new site, back out of the way
        return fail(QStringLiteral("cannot store ziptest.zip"));
    }
    QDir(retired).removeRecursively();
    return true;
}

} // namespace SitePublisher
