#include "Workspace.h"

#include "core/Messages.h"
#include "data/SiteDb.h"
#include "text/ErrorText.h"
#include "workspace/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace Workspace {

static QString withSlash(QString p)
{
    if (!p.isEmpty() && !p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return p;
}

QString readFirstLine(const QByteArray& content)
{
    QByteArray line = content;
    const int nl = line.indexOf('\n');
    if (nl >= 0)
        line.truncate(nl);
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(line);
    if (utf8.hasError()) {
        QStringDecoder gb("GB18030");
        if (gb.isValid())
            text = gb.decode(line);
    }
    return text;
}

static QString iniPath(const QString& dataPath)
{
    return dataPath + QStringLiteral("initPath.ini");
}
static QString pristineIni(const QString& appPath)
{
    return appPath + QStringLiteral("initData/initPath.ini");
}

static void resetIni(WorkspaceSetup& s)
{
    QString err;
    if (!QFileInfo::exists(pristineIni(s.appPath))) {
        // Without the pristine copy an empty setting means the same: the default workspace.
        QFile f(iniPath(s.dataPath));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            s.problems << QStringLiteral("无法重置工作目录设置文件“%1”：%2")
                              .arg(QDir::toNativeSeparators(iniPath(s.dataPath)), ErrorText::file(f));
        return;
    }
    if (!FileOps::copyFile(pristineIni(s.appPath), iniPath(s.dataPath), &err))
        s.problems << QStringLiteral("无法重置工作目录设置文件：%1").arg(err);
}

// The user's own data folder is made on first start.
static void makeDataFolder(WorkspaceSetup& s)
{
    if (!QFileInfo(s.dataPath).isDir() && !QDir().mkpath(s.dataPath))
        s.problems << QStringLiteral("无法创建数据文件夹“%1”。").arg(QDir::toNativeSeparators(s.dataPath));
}

WorkspaceSetup resolve(const DataRoots& roots, const QDateTime& now)
{
    WorkspaceSetup s;
    s.appPath = roots.appPath;
    s.dataPath = roots.dataPath;
    makeDataFolder(s);
    const QString defaultWork = s.dataPath + defaultFolderName() + QLatin1Char('/');

    // The setting file names the workspace folder; it is created empty when missing.
    QString configured;
    QFile ini(iniPath(s.dataPath));
    if (ini.exists()) {
        if (ini.open(QIODevice::ReadOnly))
            configured = readFirstLine(ini.readAll());
        else
            s.problems << QStringLiteral("无法读取“%1”：%2，将使用默认工作目录。")
                              .arg(QDir::toNativeSeparators(ini.fileName()), ErrorText::file(ini));
    } else if (!ini.open(QIODevice::WriteOnly)) {
        s.problems << QStringLiteral("无法创建“%1”：%2。程序目录可能是只读的，修改的数据可能无法保存。")
                          .arg(QDir::toNativeSeparators(ini.fileName()), ErrorText::file(ini));
    }
    ini.close();

    s.workPath = configured.isEmpty() ? defaultWork : withSlash(QDir::fromNativeSeparators(configured));
    s.imgPath = s.workPath; // the logo's folder: the workspace as configured

    // A configured folder that is not there is abandoned.
    if (!QFileInfo(s.workPath).isDir()) {
        s.workPath = defaultWork;
        resetIni(s);
    }

    // A workspace without a database falls back to the default one,
    // whose old contents are kept aside rather than deleted.
    if (!QFileInfo::exists(s.workPath + SiteDb::kFileName)) {
        s.workPath = defaultWork;
        QString err;
        if (QFileInfo(defaultWork).isDir() && !FileOps::isEmptyFolder(defaultWork)) {
            const QString aside = s.dataPath + defaultFolderName() + QStringLiteral(".old-") +
                                  now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
            if (FileOps::moveContents(defaultWork, aside, &err))
                s.movedAsideTo = aside + QLatin1Char('/');
            else
                s.problems << QStringLiteral("无法移走工作目录中原有的文件：%1").arg(err);
        }
        if (!QDir().mkpath(defaultWork)) {
            s.problems << QStringLiteral("无法创建工作目录“%1”。").arg(QDir::toNativeSeparators(defaultWork));
        } else if (!QFileInfo::exists(s.workPath + SiteDb::kFileName)) {
            if (!FileOps::copyFile(s.appPath + QStringLiteral("initData/") + SiteDb::kFileName,
                                   s.workPath + SiteDb::kFileName, &err))
                s.problems << QStringLiteral("无法建立网站数据库：%1").arg(err);
        }
        resetIni(s);
    }
    return s;
}

static QString noSlash(const QString& p)
{
    return QDir::cleanPath(p);
}

// The folder itself, not a link to it: the link stays where the user put it.
static QString realFolder(const QString& p)
{
    const QString canonical = QFileInfo(noSlash(p)).canonicalFilePath();
    return canonical.isEmpty() ? noSlash(p) : canonical;
}

// A fresh name beside path for a folder that is being put together or set aside.
static QString besideName(const QString& path, const QString& purpose)
{
    const QString base = noSlash(path) + QLatin1Char('.') + purpose + QLatin1Char('-');
    for (int i = 0;; ++i) {
        const QString candidate = base + QString::number(QDateTime::currentMSecsSinceEpoch() + i, 36);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

static bool isJournalOf(const QString& name, const QString& dbFile)
{
    return name.startsWith(dbFile + QLatin1Char('-'));
}

// Puts the folder staging in the place of target (which may not exist yet).
// Either staging is at target afterwards, or everything is as it was.
static bool swapIn(const QString& staging, const QString& target, QString* error)
{
    const QString dst = realFolder(target);
    // Every copy is on the disk before the folder takes the old one's place.
    if (!FileOps::syncTree(staging, error))
        return false;
    QString aside;
    if (QFileInfo::exists(dst)) {
        aside = besideName(dst, QStringLiteral("replaced"));
        if (!QDir().rename(dst, aside)) {
            if (error)
                *error = QStringLiteral("无法移动文件夹“%1”。").arg(QDir::toNativeSeparators(dst));
            return false;
        }
    }
    if (!aside.isEmpty())
        QFile::setPermissions(staging, QFileInfo(aside).permissions()); // a shared folder stays shared
    if (!QDir().rename(staging, dst)) {
        if (!aside.isEmpty())
            QDir().rename(aside, dst);
        if (error)
            *error = QStringLiteral("无法把“%1”改名为“%2”。")
                         .arg(QDir::toNativeSeparators(staging), QDir::toNativeSeparators(dst));
        return false;
    }
    // The renames reach the disk before the old folder is deleted.
    QString ignored;
    FileOps::syncEntry(QFileInfo(dst).absolutePath(), &ignored);
    if (!aside.isEmpty())
        FileOps::removeFolder(aside, &ignored); // a leftover is harmless: the new folder is in place
    return true;
}

// Copies the workspace's files into dst, leaving out the database's journal
// files, the database itself when skipDb, and what lies under skip (the backup
// folders, should the workspace hold the application directory).
static bool copyWorkspace(const QString& work, const QString& dst, const QString& skip, bool skipDb, QString* error)
{
    const QString dbFile = SiteDb::kFileName;
    const auto entries =
        QDir(work).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& fi : entries) {
        const QString name = fi.fileName();
        if ((skipDb && name == dbFile) || isJournalOf(name, dbFile) || fi.absoluteFilePath().startsWith(skip))
            continue;
        const QString target = dst + QLatin1Char('/') + name;
        const bool ok = fi.isDir() && !fi.isSymLink() ? FileOps::copyFolder(fi.absoluteFilePath(), target, error)
                                                      : FileOps::copyFile(fi.absoluteFilePath(), target, error);
        if (!ok)
            return false;
    }
    return true;
}

static QString backupFailure(const PendingBackup& pending, const QString& detail)
{
    QString ignored;
    FileOps::removeFolder(pending.staging, &ignored);
    return (pending.hadBackup ? QStringLiteral("数据备份失败，原有的备份数据没有改变。")
                              : QStringLiteral("数据备份失败。")) +
           QStringLiteral("\r\n（%1）").arg(detail);
}

bool beginBackup(const QString& dataPath, const QString& workPath, const SiteDb& db, PendingBackup* pending,
                 QString* error)
{
    PendingBackup& p = *pending;
    p.dataPath = dataPath;
    p.workPath = withSlash(workPath);
    p.hadBackup = QFileInfo::exists(dataPath + backupFolderName());
    p.staging = besideName(dataPath + backupFolderName(), QStringLiteral("saving"));
    p.dbSnapshot = db.isOpen() && QFileInfo(db.filePath()) == QFileInfo(p.workPath + SiteDb::kFileName);
    QString detail;
    if (!QDir().mkpath(p.staging))
        detail = Messages::cannotCreateFolder(QDir::toNativeSeparators(p.staging));
    // The open database is written as a consistent snapshot, never copied as a file.
    SqlResult r;
    r.ok = detail.isEmpty();
    if (r && p.dbSnapshot)
        r = db.run(QStringLiteral("VACUUM INTO ?"), {p.staging + QLatin1Char('/') + SiteDb::kFileName});
    if (r)
        return true;
    if (error)
        *error = backupFailure(p, detail.isEmpty() ? r.error : detail);
    return false;
}

bool finishBackup(const PendingBackup& pending, QString* error)
{
    const QString target = pending.dataPath + backupFolderName();
    QString detail;
    if (copyWorkspace(pending.workPath, pending.staging, target, pending.dbSnapshot, &detail) &&
        swapIn(pending.staging, target, &detail))
        return true;
    if (error)
        *error = backupFailure(pending, detail);
    return false;
}

bool backup(const QString& dataPath, const QString& workPath, const SiteDb& db, QString* error)
{
    PendingBackup pending;
    return beginBackup(dataPath, workPath, db, &pending, error) && finishBackup(pending, error);
}

bool hasBackup(const QString& dataPath)
{
    return QFileInfo::exists(dataPath + backupFolderName() + QLatin1Char('/') + SiteDb::kFileName);
}

bool restoreFiles(const QString& dataPath, const QString& workPath, QString* error)
{
    const QString work = realFolder(workPath);
    const QString staging = besideName(work, QStringLiteral("restoring"));
    // The workspace as it is, with the backup copied over it; the old database's
    // journal stays out, or it would be replayed into the restored database.
    QString detail;
    const bool ok = QDir().mkpath(staging) &&
                    copyWorkspace(work + QLatin1Char('/'), staging, dataPath + backupFolderName(), false, &detail) &&
                    FileOps::copyFolder(dataPath + backupFolderName(), staging, &detail) &&
                    swapIn(staging, work, &detail);
    if (ok)
        return true;
    if (detail.isEmpty())
        detail = Messages::cannotCreateFolder(QDir::toNativeSeparators(staging));
    QString ignored;
    FileOps::removeFolder(staging, &ignored);
    if (error)
        *error = QStringLiteral("数据还原失败，当前数据没有改变。\r\n（%1）").arg(detail);
    return false;
}

} // namespace Workspace
