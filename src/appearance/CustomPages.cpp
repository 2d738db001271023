#include "CustomPages.h"

#include "core/Logging.h"
#include "core/Messages.h"
#include "data/FeatureFields.h"
#include "data/SiteDb.h"
#include "workspace/FileOps.h"
#include "workspace/WorkspaceFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace CustomPages {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

Outcome done(QList<Notice> notices = {})
{
    Outcome out;
    out.done = true;
    out.notices = std::move(notices);
    return out;
}

Outcome failed(const QString& detail)
{
    qCWarning(lcCustomPages) << detail;
    Outcome out;
    out.notices << noPathNotice();
    return out;
}

bool isPage(const QString& name)
{
    return name.endsWith(QLatin1String("htm"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String("mht"), Qt::CaseInsensitive);
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Copies a file unless it is the target itself (copying would delete it first).
bool copyOver(const QString& src, const QString& dst, QString* error)
{
    return sameFile(src, dst) || FileOps::copyFile(src, dst, error);
}

bool sameContent(const QString& a, const QString& b)
{
    QFile fa(a);
    QFile fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    return fa.readAll() == fb.readAll();
}

// Relative paths of every file under folder, sorted.
QStringList filesUnder(const QString& folder)
{
    QStringList out;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return out;
    const QDir base(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << base.relativeFilePath(it.next());
    out.sort();
    return out;
}

// A recorded path that stays inside the images folder.
bool isInside(const QString& relative)
{
    return !relative.isEmpty() && QDir::isRelativePath(relative) && !relative.contains(QLatin1Char('\\')) &&
           !relative.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

Owner otherThan(Owner owner)
{
    return owner == Owner::Home ? Owner::Other : Owner::Home;
}

QString ownerKey(Owner owner)
{
    return owner == Owner::Home ? QStringLiteral("home") : QStringLiteral("other");
}

Outcome refusedByClash(const QString& file)
{
    return Outcome::refused(
        QStringLiteral("images文件夹中的“%1”与已安装网页的同名图片不同，请改名后再选择！").arg(native(file)),
        Messages::notice(), MsgIcon::Information);
}

} // namespace

QString homePageName()
{
    return QStringLiteral("default.htm");
}

QString headPrefix()
{
    return QStringLiteral("topHeadSelf.");
}

Notice noPathNotice()
{
    return {QStringLiteral("没有选择首页存放路径！"), Messages::warning(), MsgIcon::Critical};
}

// ---- ImagesRecord ----

ImagesRecord::ImagesRecord(const QString& workPath) : m_workPath(workPath)
{
    QFile f(recordPath(workPath));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const QString key = line.left(tab);
        const QString path = line.mid(tab + 1);
        if (tab < 0 || !isInside(path))
            continue;
        if (key == ownerKey(Owner::Home))
            m_files[Owner::Home] << path;
        else if (key == ownerKey(Owner::Other))
            m_files[Owner::Other] << path;
    }
}

QString ImagesRecord::recordPath(const QString& workPath)
{
    return workPath + QStringLiteral(".customPages/images.lst");
}

QString ImagesRecord::clashWith(Owner owner, const QString& sourceImages) const
{
    const QStringList needed = files(otherThan(owner));
    for (const QString& f : filesUnder(sourceImages)) {
        const QString existing = imagesFolder() + f;
        if (needed.contains(f) && QFileInfo(existing).isFile() &&
            !sameContent(existing, sourceImages + QLatin1Char('/') + f))
            return f;
    }
    return {};
}

bool ImagesRecord::install(Owner owner, const QString& sourceImages, QString* error)
{
    const QStringList incoming = filesUnder(sourceImages);
    // A picture found in the folder that no installation brought (put there by
    // hand, or by an installation older than this record) is overwritten but
    // not claimed: something else may show it, so it is never deleted.
    const QStringList found = filesUnder(imagesFolder());
    QStringList claimed;
    for (const QString& f : incoming) {
        if (!found.contains(f) || files(Owner::Home).contains(f) || files(Owner::Other).contains(f))
            claimed << f;
    }
    // The owner's former pictures go, except those the new set brings again:
    // they are overwritten below (the source may be the images folder itself).
    QStringList dropped = files(owner);
    for (const QString& f : incoming)
        dropped.removeAll(f);
    m_files[owner] = dropped;
    if (!release(owner, error))
        return false;
    m_files[owner] = claimed;
    // The claim is written before the copies, so that a copy failing halfway
    // leaves no picture that no installation owns.
    if (!save(error))
        return false;
    for (const QString& f : incoming) {
        const QString target = imagesFolder() + f;
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
            if (error)
                *error = Messages::cannotCreateFolder(native(QFileInfo(target).absolutePath()));
            return false;
        }
        if (!copyOver(sourceImages + QLatin1Char('/') + f, target, error))
            return false;
    }
    return true;
}

bool ImagesRecord::release(Owner owner, QString* error)
{
    const QStringList needed = files(otherThan(owner));
    QStringList folders;
    for (const QString& f : files(owner)) {
        if (needed.contains(f) || !isInside(f))
            continue;
        if (!FileOps::removeFile(imagesFolder() + f, error))
            return false;
        for (QString dir = QFileInfo(f).path(); dir != QLatin1String("."); dir = QFileInfo(dir).path())
            folders << dir;
    }
    m_files.remove(owner);
    // Folders emptied here go too, deepest first; rmdir leaves any folder that still holds something.
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& dir : folders)
        QDir().rmdir(imagesFolder() + dir);
    if (QFileInfo(imagesFolder()).isDir() && FileOps::isEmptyFolder(imagesFolder()))
        QDir().rmdir(imagesFolder());
    return save(error);
}

bool ImagesRecord::save(QString* error) const
{
    const QString path = recordPath(m_workPath);
    if (files(Owner::Home).isEmpty() && files(Owner::Other).isEmpty()) {
        if (!FileOps::removeFile(path, error))
            return false;
        QDir().rmdir(QFileInfo(path).absolutePath());
        return true;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream ts(&out);
        for (Owner o : {Owner::Home, Owner::Other}) {
            for (const QString& f : files(o))
                ts << ownerKey(o) << '\t' << f << '\n';
        }
        ts.flush();
        if (out.commit())
            return true;
    }
    if (error)
        *error = QStringLiteral("无法写入文件“%1”：%2").arg(native(path), out.errorString());
    return false;
}

// ---- custom home page ----

std::optional<Notice> checkHomePage(const QString& chosenPath)
{
    const QFileInfo fi(chosenPath);
    if (!fi.isFile())
        return Notice{native(chosenPath) + QStringLiteral("文件不存在!"), Messages::warning(), MsgIcon::Critical};
    if (fi.fileName().toLower() != homePageName())
        return Notice{QStringLiteral("这不是一个有效的default.htm文件"), Messages::notice(), MsgIcon::Information};
    const QDir dir = fi.absoluteDir();
    const QString folder = native(dir.absolutePath() + QLatin1Char('/'));
    const QString only = QStringLiteral("文件夹只能包含default.htm文件及其相关联的文件夹images"
                                        "(网页中包含的图片存放文件夹)，");
    if (dir.entryList(QDir::Files | QDir::Hidden | QDir::System).size() >= 2)
        return Notice{QStringLiteral("在") + folder + only + QStringLiteral("含有多余的文件！"), Messages::notice(),
                      MsgIcon::Information};
    const QStringList folders = dir.entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (!folders.contains(QStringLiteral("images")))
        return Notice{QStringLiteral("在") + folder + QStringLiteral("文件夹中必须包含images文件夹！"),
                      Messages::notice(), MsgIcon::Information};
    if (folders.size() >= 2)
        return Notice{QStringLiteral("在") + folder + only + QStringLiteral("含有多余的文件夹！"), Messages::notice(),
                      MsgIcon::Information};
    return std::nullopt;
}

Outcome installHomePage(const SiteDb& db, const QString& chosenPath, const QString& workPath)
{
    const QFileInfo fi(chosenPath);
    const QString folder = fi.absolutePath() + QLatin1Char('/');
    if (!fi.isFile())
        return Outcome::refused(native(chosenPath) + QStringLiteral("文件不存在！"), Messages::notice(),
                                MsgIcon::Critical);
    const QString images = folder + QStringLiteral("images");
    if (!QFileInfo(images).isDir())
        return Outcome::refused(native(images + QLatin1Char('/')) + QStringLiteral("文件夹不存在！"),
                                Messages::notice(), MsgIcon::Critical);
    ImagesRecord record(workPath);
    const QString clash = record.clashWith(Owner::Home, images);
    if (!clash.isEmpty())
        return refusedByClash(clash);

    // Kept as default.htm whatever the letter case of the chosen file: that is the name the site is built from.
    QString error;
    if (!copyOver(chosenPath, workPath + homePageName(), &error) || !record.install(Owner::Home, images, &error))
        return failed(error);
    const SqlResult r = db.updateUserInfo(QStringLiteral("defaultFile"), homePageName());
    if (!r)
        return failed(r.error);
    return done();
}

Outcome removeHomePage(const SiteDb& db, const QString& workPath, const QString& shownName)
{
    const SqlResult r = db.updateUserInfo(QStringLiteral("defaultFile"), QString());
    if (!r)
        return Outcome::refused(r.error, Messages::notice(), MsgIcon::Information);
    QList<Notice> notices;
    QString error;
    // Only the home page itself: the box can be edited, and no other file of the workspace is its to delete.
    const bool isHomePage = shownName.compare(homePageName(), Qt::CaseInsensitive) == 0;
    if ((isHomePage && !WorkspaceFiles::removeNamed(workPath, shownName, &error)) ||
        !ImagesRecord(workPath).release(Owner::Home, &error))
        notices.append({error, Messages::notice(), MsgIcon::Information});
    return done(notices);
}

// ---- custom head ----

static QString extensionOf(const QString& name)
{
    return name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
}

std::optional<Notice> checkHead(const QString& chosenPath)
{
    const QFileInfo fi(chosenPath);
    if (!fi.isFile())
        return Notice{native(chosenPath) + QStringLiteral("文件不存在!"), Messages::warning(), MsgIcon::Critical};
    const QString ext = extensionOf(fi.fileName()).toLower();
    if (ext != QLatin1String("gif") && ext != QLatin1String("jpg") && ext != QLatin1String("swf"))
        return Notice{QStringLiteral("这不是一个有效的头文件"), Messages::notice(), MsgIcon::Information};
    return std::nullopt;
}

// The head the row names; "" when none or the row cannot be read.
static QString storedHead(const SiteDb& db)
{
    const SqlResult row = db.selectUserInfo();
    return row && !row.isEmpty() ? fieldText(row.first(), QStringLiteral("topHead")) : QString();
}

Outcome installHead(const SiteDb& db, const QString& chosenPath, const QString& workPath)
{
    const QString target = headPrefix() + extensionOf(QFileInfo(chosenPath).fileName()).toLower();
    const QString previous = storedHead(db);
    QString error;
    if (!copyOver(chosenPath, workPath + target, &error))
        return failed(error);
    const SqlResult r = db.updateUserInfo(QStringLiteral("topHead"), target);
    if (!r)
        return failed(r.error);
    // A head of another kind would otherwise stay behind unnamed.
    if (previous != target && previous.startsWith(headPrefix()) &&
        !WorkspaceFiles::removeNamed(workPath, previous, &error))
        qCWarning(lcCustomPages) << error;
    return done();
}

Outcome removeHead(const SiteDb& db, const QString& workPath)
{
    const QString installed = storedHead(db);
    const SqlResult r = db.updateUserInfo(QStringLiteral("topHead"), QString());
    if (!r)
        return Outcome::refused(r.error, Messages::notice(), MsgIcon::Information);
    QString error;
    // Only a head: the row may have been restored from anywhere.
    if (installed.startsWith(headPrefix()) && !WorkspaceFiles::removeNamed(workPath, installed, &error))
        return done({{error, Messages::notice(), MsgIcon::Information}});
    return done();
}

// ---- other pages ----

QStringList pagesIn(const QString& folder)
{
    QStringList pages;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (isPage(name))
            pages << name;
    }
    return pages;
}

Outcome installOtherPages(const SiteDb& db, const QString& folder, const QString& workPath, const QStringList& listed,
                          QStringList* names)
{
    const QStringList pages = pagesIn(folder);
    for (const QString& p : pages) {
        if (p.compare(homePageName(), Qt::CaseInsensitive) == 0)
            return Outcome::refused(QStringLiteral("不能包含default.htm！"), Messages::notice(), MsgIcon::Information);
    }
    const QString base = QDir(folder).absolutePath() + QLatin1Char('/');
    const QString images =
        QFileInfo(base + QStringLiteral("images")).isDir() ? base + QStringLiteral("images") : QString();
    ImagesRecord record(workPath);
    const QString clash = record.clashWith(Owner::Other, images);
    if (!clash.isEmpty())
        return refusedByClash(clash);

    QString error;
    for (const QString& p : pages) {
        if (!copyOver(base + p, workPath + p, &error))
            return Outcome::refused(error, Messages::notice(), MsgIcon::Information);
    }
    if (!record.install(Owner::Other, images, &error))
        return Outcome::refused(error, Messages::notice(), MsgIcon::Information);
    const SqlResult r = db.updateUserInfo(QStringLiteral("field01"), FeatureFields::joinOtherPages(pages));
    if (!r)
        return Outcome::refused(r.error, Messages::notice(), MsgIcon::Information);
    *names = pages;
    // The former pages go once the row names the new ones.
    QList<Notice> notices;
    for (const QString& old : listed) {
        if (!pages.contains(old) && isPage(old) && !WorkspaceFiles::removeNamed(workPath, old, &error)) {
            notices.append({error, Messages::notice(), MsgIcon::Information});
            break;
        }
    }
    return done(notices);
}

Outcome removeOtherPages(const SiteDb& db, const QString& workPath, const QStringList& listed)
{
    const SqlResult r = db.updateUserInfo(QStringLiteral("field01"), QString());
    if (!r)
        return Outcome::refused(r.error, Messages::notice(), MsgIcon::Information);
    QString error;
    for (const QString& name : listed) {
        if (isPage(name) && !WorkspaceFiles::removeNamed(workPath, name, &error))
            return done({{error, Messages::notice(), MsgIcon::Information}});
    }
    if (!ImagesRecord(workPath).release(Owner::Other, &error))
        return done({{error, Messages::notice(), MsgIcon::Information}});
    return done();
}

} // namespace CustomPages
