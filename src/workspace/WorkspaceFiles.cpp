#include "WorkspaceFiles.h"

#include "core/Logging.h"
#include "data/SiteDb.h"
#include "text/ErrorText.h"
#include "workspace/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QUrl>

#include <functional>

namespace WorkspaceFiles {

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1String("..")) && !name.startsWith(QLatin1Char('.'));
}

namespace {

constexpr int kMaxNumber = 9999;

// The folder's entries by lower-cased name: a name differing only in letter case
// is taken too, since the published site may live on a file system that ignores case.
QHash<QString, QString> takenNames(const QString& folder)
{
    QHash<QString, QString> taken;
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& n : names)
        taken.insert(n.toLower(), n);
    return taken;
}

bool sameBytes(QIODevice& a, QIODevice& b)
{
    constexpr qint64 kChunk = 64 * 1024;
    while (true) {
        const QByteArray x = a.read(kChunk);
        const QByteArray y = b.read(kChunk);
        if (x != y)
            return false;
        if (x.isEmpty())
            return true;
    }
}

bool sameFileContent(const QString& existing, const QString& source)
{
    const QFileInfo e(existing);
    const QFileInfo s(source);
    if (!e.isFile() || e.size() != s.size())
        return false;
    if (e.canonicalFilePath() == s.canonicalFilePath())
        return true;
    QFile a(existing);
    QFile b(source);
    return a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && sameBytes(a, b);
}

bool sameDataContent(const QString& existing, const QByteArray& data)
{
    const QFileInfo e(existing);
    if (!e.isFile() || e.size() != data.size())
        return false;
    QFile f(existing);
    return f.open(QIODevice::ReadOnly) && f.readAll() == data;
}

using Matches = std::function<bool(const QString& existingPath)>;
using Write = std::function<bool(const QString& target, QString* error)>;

Result place(const QString& wanted, const QString& folder, const Matches& matches, const Write& write)
{
    Result r;
    if (wanted.isEmpty()) {
        r.error = QStringLiteral("文件名为空。");
        return r;
    }
    if (!QFileInfo(folder).isDir()) {
        r.error = QStringLiteral("工作目录“%1”不存在。").arg(QDir::toNativeSeparators(folder));
        return r;
    }
    const QHash<QString, QString> taken = takenNames(folder);
    for (int n = 1; n <= kMaxNumber; ++n) {
        const QString candidate = n == 1 ? wanted : numberedName(wanted, n);
        const auto it = taken.constFind(candidate.toLower());
        if (it != taken.constEnd()) {
            if (matches(folder + *it)) {
                r.ok = true;
                r.fileName = *it;
                return r;
            }
            continue;
        }
        if (!write(folder + candidate, &r.error))
            return r;
        r.ok = true;
        r.created = true;
        r.fileName = candidate;
        return r;
    }
    r.error = QStringLiteral("工作目录中以“%1”为名的文件太多，请换一个文件名。").arg(wanted);
    return r;
}

} // namespace

QString numberedName(const QString& name, int n)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = QStringLiteral("_%1").arg(n);
    if (dot <= 0)
        return name + suffix;
    return name.left(dot) + suffix + name.mid(dot);
}

Result copyIn(const QString& sourcePath, const QString& folder)
{
    const QFileInfo source(sourcePath);
    if (!source.isFile()) {
        Result r;
        r.error = QStringLiteral("文件“%1”不存在或无法读取。").arg(QDir::toNativeSeparators(sourcePath));
        return r;
    }
    return place(
        source.fileName(), folder, [&](const QString& existing) { return sameFileContent(existing, sourcePath); },
        [&](const QString& target, QString* error) {
            // QFile::copy writes a temporary file and renames it: a failed copy leaves nothing.
            QFile in(sourcePath);
            if (in.copy(target))
                return true;
            *error = QStringLiteral("无法把文件“%1”复制到工作目录：%2")
                         .arg(QDir::toNativeSeparators(sourcePath), ErrorText::file(in));
            QFile::remove(target);
            return false;
        });
}

Result writeIn(const QByteArray& data, const QString& wantedName, const QString& folder)
{
    return place(
        wantedName, folder, [&](const QString& existing) { return sameDataContent(existing, data); },
        [&](const QString& target, QString* error) {
            // Unbuffered: a write that falls short is seen here, not lost in a flush on commit.
            QSaveFile out(target);
            if (out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && out.write(data) == data.size() &&
                out.commit())
                return true;
            *error = QStringLiteral("无法在工作目录中写入文件“%1”：%2")
                         .arg(QFileInfo(target).fileName(), ErrorText::file(out));
            return false;
        });
}

bool isReferenced(const SiteDb& db, const QString& name)
{
    if (name.isEmpty())
        return false;
    // Editor HTML may carry the name with its blanks and the like escaped.
    const QString escaped = QString::fromLatin1(QUrl::toPercentEncoding(name, "/"));
    static const QStringList tables = {QStringLiteral("user_info"), QStringLiteral("content01"),
                                       QStringLiteral("content02"), QStringLiteral("content03")};
    for (const QString& table : tables) {
        const SqlResult cols = db.run(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        if (!cols || cols.isEmpty()) {
            qCWarning(lcWorkspaceFiles) << "cannot list the columns of" << table << cols.error;
            return true;
        }
        QStringList parts;
        for (const QSqlRecord& col : cols.rows)
            parts << QStringLiteral("coalesce(\"%1\",'')").arg(fieldText(col, QStringLiteral("name")));
        const QString all = parts.join(QStringLiteral("||char(1)||"));
        const SqlResult hit = db.run(
            QStringLiteral("SELECT 1 FROM %1 WHERE instr(%2, ?) > 0 OR instr(%2, ?) > 0 LIMIT 1").arg(table, all),
            {name, escaped});
        if (!hit) {
            qCWarning(lcWorkspaceFiles) << "cannot look for" << name << "in" << table << hit.error;
            return true;
        }
        if (!hit.isEmpty())
            return true;
    }
    return false;
}

bool removeNamed(const QString& folder, const QString& name, QString* error)
{
    if (name.isEmpty())
        return true;
    if (!isPlainName(name)) {
        qCWarning(lcWorkspaceFiles) << "not deleted: the stored name" << name << "is no plain file name in" << folder;
        return true;
    }
    const QFileInfo fi(folder + name);
    if (fi.isDir()) {
        qCWarning(lcWorkspaceFiles) << "not deleted: the stored name" << name << "is a folder";
        return true;
    }
    if (!fi.exists() && !fi.isSymLink())
        return true;
    QString why;
    if (FileOps::removeFile(fi.filePath(), &why))
        return true;
    qCWarning(lcWorkspaceFiles) << "cannot delete" << fi.filePath() << why;
    if (error)
        *error = why;
    return false;
}

bool removeIfUnused(const SiteDb& db, const QString& folder, const QString& name, QString* error)
{
    // A name that is not plain goes straight to removeNamed, which refuses it and says why.
    if (isPlainName(name) && (!QFileInfo(folder + name).isFile() || isReferenced(db, name)))
        return true;
    return removeNamed(folder, name, error);
}

} // namespace WorkspaceFiles
