#include "Workspace.h"

#include "app/FileOps.h"
#include "text/ErrorText.h"
#include "data/SiteDb.h"

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

static QString iniPath(const QString& appPath) { return appPath + QStringLiteral("initPath.ini"); }
static QString pristineIni(const QString& appPath) { return appPath + QStringLiteral("initData/initPath.ini"); }

static void resetIni(WorkspaceSetup& s)
{
    QString err;
    if (!QFileInfo::exists(pristineIni(s.appPath))) {
        // Without the pristine copy an empty setting means the same: the default workspace.
        QFile f(iniPath(s.appPath));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            s.problems << QStringLiteral("无法重置工作目录设置文件“%1”：%2")
                              .arg(QDir::toNativeSeparators(iniPath(s.appPath)), ErrorText::file(f));
        return;
    }
    if (!FileOps::copyFile(pristineIni(s.appPath), iniPath(s.appPath), &err))
        s.problems << QStringLiteral("无法重置工作目录设置文件：%1").arg(err);
}

WorkspaceSetup resolve(const QString& appDir, const QDateTime& now)
{
    WorkspaceSetup s;
    s.appPath = withSlash(QDir::cleanPath(QDir(appDir).absolutePath()));
    const QString defaultWork = s.appPath + defaultFolderName() + QLatin1Char('/');

    // Steps 2-3: the setting file, created empty when missing.
    QString configured;
    QFile ini(iniPath(s.appPath));
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
    s.imgPath = s.workPath; // step 4

    // Step 5: a configured folder that is not there is abandoned.
    if (!QFileInfo(s.workPath).isDir()) {
        s.workPath = defaultWork;
        resetIni(s);
    }

    // Step 6: a workspace without a database falls back to the default one,
    // whose old contents are kept aside rather than deleted.
    if (!QFileInfo::exists(s.workPath + SiteDb::kFileName)) {
        s.workPath = defaultWork;
        QString err;
        if (QFileInfo(defaultWork).isDir() && !FileOps::isEmptyFolder(defaultWork)) {
            const QString aside = s.appPath + defaultFolderName() + QStringLiteral(".old-") +
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

bool backup(const QString& appPath, const SiteDb& db, QString* error)
{
    const QString src = appPath + defaultFolderName();
    const QString dst = appPath + backupFolderName();
    if (!FileOps::removeFolder(dst, error))
        return false;
    if (!QDir().mkpath(dst)) {
        if (error)
            *error = QStringLiteral("无法创建文件夹“%1”。").arg(QDir::toNativeSeparators(dst));
        return false;
    }
    const QString dbFile = SiteDb::kFileName;
    const bool liveDbHere = db.isOpen() && QFileInfo(db.filePath()) == QFileInfo(src + QLatin1Char('/') + dbFile);
    const auto entries = QDir(src).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& fi : entries) {
        const QString name = fi.fileName();
        // The open database is written as a snapshot below; its journal files are never copied.
        if (liveDbHere && (name == dbFile || name.startsWith(dbFile + QLatin1Char('-'))))
            continue;
        const QString target = dst + QLatin1Char('/') + name;
        const bool ok = fi.isDir() ? FileOps::copyFolder(fi.absoluteFilePath(), target, error)
                                   : FileOps::copyFile(fi.absoluteFilePath(), target, error);
        if (!ok)
            return false;
    }
    if (liveDbHere) {
        const SqlResult r = db.run(QStringLiteral("VACUUM INTO ?"), {dst + QLatin1Char('/') + dbFile});
        if (!r) {
            if (error)
                *error = r.error;
            return false;
        }
    }
    return true;
}

bool hasBackup(const QString& appPath)
{
    return QFileInfo::exists(appPath + backupFolderName() + QLatin1Char('/') + SiteDb::kFileName);
}

bool restoreFiles(const QString& appPath, QString* error)
{
    const QString work = appPath + defaultFolderName() + QLatin1Char('/');
    // A journal left beside the old database would be replayed into the restored one.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString j = work + SiteDb::kFileName + QLatin1String(suffix);
        if (QFileInfo::exists(j)) {
            QFile f(j);
            f.setPermissions(f.permissions() | QFileDevice::WriteOwner);
            f.remove();
        }
    }
    return FileOps::copyFolder(appPath + backupFolderName(), work, error);
}

} // namespace Workspace
