#include "../content/ContentSite.h"
#include "TestMain.h"
#include "content/NewsDialogs.h"
#include "content/Pictures.h"
#include "workspace/WorkspaceFiles.h"

#include <QLineEdit>

#include <csignal>
#include <sys/resource.h>

using TestPictures::make;
using TestPictures::write;

namespace {

// Writes past limit bytes fail in this process, as on a full disk (root ignores
// read-only folders, but not this).
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t limit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit l = saved;
        l.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class TestWorkspaceFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Files already there (name=bytes), the picture copied in (bytes "P"), the name it gets, whether a file was made.
    void copyNeverReplacesADifferentFile()
    {
        const std::tuple<QStringList, QString, QString, bool> cases[] = {
            {{}, "photo.jpg", "photo.jpg", true},
            {{"photo.jpg=X"}, "photo.jpg", "photo_2.jpg", true},
            {{"PHOTO.JPG=X"}, "photo.jpg", "photo_2.jpg", true},                   // letter case does not matter
            {{"photo.jpg=P"}, "photo.jpg", "photo.jpg", false},                    // identical: reused
            {{"photo.jpg=X", "photo_2.jpg=P"}, "photo.jpg", "photo_2.jpg", false}, // identical under a number
            {{"photo.jpg=Q"}, "photo.jpg", "photo_2.jpg", true},                   // same size, other bytes
            {{"photo.2003.jpg=X"}, "photo.2003.jpg", "photo.2003_2.jpg", true}, // the number goes before the last dot
        };
        for (const auto& [existing, source, fileName, created] : cases) {
            QTemporaryDir work;
            QTemporaryDir outside;
            const QString wp = work.path() + '/';
            for (const QString& e : existing)
                writeFile(wp + e.section('=', 0, 0), e.section('=', 1).toUtf8());
            const WorkspaceFiles::Result r = WorkspaceFiles::copyIn(write(outside.filePath(source), "P"), wp);
            QVERIFY2(r.ok, qPrintable(r.error));
            QCOMPARE(r.fileName, fileName);
            QCOMPARE(r.created, created);
            QCOMPARE(readFile(wp + fileName), QByteArray("P"));
            for (const QString& e : existing)
                QCOMPARE(readFile(wp + e.section('=', 0, 0)), e.section('=', 1).toUtf8());
            QCOMPARE(entries(wp).size(), existing.size() + (created ? 1 : 0));
        }
    }

    void failedCopiesLeaveNothing()
    {
        QTemporaryDir work;
        QTemporaryDir outside;
        const QString wp = work.path() + '/';
        writeFile(wp + "here.jpg", "H");
        const QString big = write(outside.filePath("big.jpg"), QByteArray(8192, 'x'));
        FileSizeLimit limit(4096);
        const WorkspaceFiles::Result copied = WorkspaceFiles::copyIn(big, wp);
        const WorkspaceFiles::Result written = WorkspaceFiles::writeIn(QByteArray(8192, 'y'), "t_small.bmp", wp);
        QVERIFY2(!copied.ok && copied.error.contains("big.jpg"), qPrintable(copied.error));
        QVERIFY2(!written.ok && written.error.contains("t_small.bmp"), qPrintable(written.error));
        QCOMPARE(entries(wp), QStringList{"here.jpg"});
    }

    // "a.jpg" and "a.gif" want the same thumbnail name; the second gets its own.
    void thumbnailsOfLikeNamedPicturesAreDistinct()
    {
        QTemporaryDir work;
        const QString wp = work.path() + '/';
        const QByteArray blue = Pictures::bmpBytes(make(20, 10));
        const QByteArray red = Pictures::bmpBytes(make(20, 10, Qt::red));
        const WorkspaceFiles::Result a = WorkspaceFiles::writeIn(blue, Pictures::thumbnailName("a.jpg"), wp);
        const WorkspaceFiles::Result b = WorkspaceFiles::writeIn(red, Pictures::thumbnailName("a.gif"), wp);
        QCOMPARE(a.fileName + "|" + b.fileName, QStringLiteral("a_small.bmp|a_small_2.bmp"));
        QCOMPARE(readFile(wp + a.fileName), blue);
        QCOMPARE(readFile(wp + b.fileName), red);
    }

    // A slot deletes only its own copies, and never a file that a record names.
    void slotsDeleteOnlyUnnamedFiles()
    {
        TestAppDir app;
        SiteDb db(QStringLiteral("slots"));
        QVERIFY(db.open(app.workPath()));
        const QString wp = app.workPath();
        QTemporaryDir outside;
        const QString photo = write(outside.filePath("photo.jpg"), 40, 30);
        QFile::copy(photo, wp + "photo.jpg");
        QVERIFY(
            db.run("INSERT INTO content01(firstCatalog,value01,value02,value03) VALUES('一','t','c','photo.jpg')").ok);
        QVERIFY(
            db.run("INSERT INTO content02(secondCatalog,value06) VALUES('二','<img src=\"[imgpath]/in%20html.jpg\">')")
                .ok);
        writeFile(wp + "in html.jpg", "h");

        Pictures::Slot slot;
        QCOMPARE(slot.place(photo, db, wp).fileName, QStringLiteral("photo.jpg")); // identical: reused
        const QString b = write(outside.filePath("b.jpg"), 30, 30);
        QCOMPARE(slot.place(b, db, wp).fileName, QStringLiteral("b.jpg"));
        QVERIFY2(QFile::exists(wp + "photo.jpg"), "a reused file is not this visit's to delete");
        QCOMPARE(slot.place(write(outside.filePath("c.jpg"), 20, 30), db, wp).fileName, QStringLiteral("c.jpg"));
        QVERIFY2(!QFile::exists(wp + "b.jpg"), "this visit's own earlier copy goes");
        // A file picked from the workspace itself is used where it is, and left there.
        const QString own = write(wp + "own.jpg", 20, 20);
        QCOMPARE(slot.place(own, db, wp).fileName, QStringLiteral("own.jpg"));
        QVERIFY(!QFile::exists(wp + "c.jpg"));
        slot.place(outside.filePath("c.jpg"), db, wp);
        QVERIFY(QFile::exists(own));

        // Storing c.jpg over a stored name: the replaced file goes only when no record names it.
        const auto replace = [&](const QString& storedName) {
            slot.loadStored(storedName);
            slot.stored("c.jpg", db, wp);
        };
        replace("in html.jpg");
        QVERIFY2(QFile::exists(wp + "in html.jpg"), "named inside stored HTML");
        replace("photo.jpg");
        QVERIFY(QFile::exists(wp + "photo.jpg"));
        QVERIFY(db.run("DELETE FROM content01").ok);
        replace("photo.jpg");
        QVERIFY(!QFile::exists(wp + "photo.jpg"));
        // A stored name leading out of the workspace, or below it, deletes nothing, and the log says why.
        writeFile(app.file("x.jpg"), "outside");
        writeFile(wp + "sub/y.jpg", "below");
        for (int i = 0; i < 4; ++i)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("not deleted: the stored name .* is no plain file name in"));
        for (const QString& name : QStringList{"../x.jpg", "..\\x.jpg", app.file("x.jpg"), "sub/y.jpg", "sub"})
            replace(name);
        QVERIFY(QFile::exists(app.file("x.jpg")) && QFile::exists(wp + "sub/y.jpg"));
    }

    // Two pages choose different pictures of one name: both stay, each record names its own.
    void likeNamedPicturesOnTwoPagesKeepBoth()
    {
        ContentSite site;
        auto w = site.openWindow();
        QTemporaryDir other;
        const QString first = site.picture("photo.jpg", 120, 90);
        const QString second = write(other.filePath("photo.jpg"), TestPictures::encoded(make(60, 40, Qt::red), "JPG"));
        const std::pair<const char*, QString> pages[] = {{"图文一", first}, {"三级图文", second}};
        for (const auto& [page, picture] : pages) {
            QVERIFY(ContentSite::release(*w, page));
            ctl<QLineEdit>(*w, "txt_title")->setText(QStringLiteral("标题"));
            site.dlg.files.enqueue(picture);
            ContentSite::press(*w, "cmd_img0");
            ContentSite::press(*w, "cmd_ok");
        }
        QCOMPARE(site.dlg.texts(), (QStringList{"数据已保存！", "数据已保存！"}));
        QCOMPARE(fieldText(site.contents(1, "图文一").first(), "value03"), QStringLiteral("photo.jpg"));
        QCOMPARE(fieldText(site.contents(3, "三级图文").first(), "value03"), QStringLiteral("photo_2.jpg"));
        QCOMPARE(readFile(site.inWork("photo.jpg")), readFile(first));
        QCOMPARE(readFile(site.inWork("photo_2.jpg")), readFile(second));

        // A copy that fails is reported, and the page keeps the picture it had.
        QVERIFY(ContentSite::release(*w, "图文一"));
        site.dlg.clear();
        site.dlg.files.enqueue(site.picture("large.jpg", 900, 700));
        {
            FileSizeLimit limit(1024);
            ContentSite::press(*w, "cmd_img0");
        }
        QCOMPARE(site.dlg.shown.size(), 1);
        QVERIFY2(site.dlg.last().text.contains("large.jpg"), qPrintable(site.dlg.last().text));
        QCOMPARE(ctl<QLineEdit>(*w, "txt_img0")->text(), QStringLiteral("photo.jpg"));
        QVERIFY(!QFile::exists(site.inWork("large.jpg")));
        ContentSite::press(*w, "cmd_ok");
        QCOMPARE(fieldText(site.contents(1, "图文一").first(), "value03"), QStringLiteral("photo.jpg"));
    }

    // A record deleted while its modify dialog was open is not reported as changed.
    void modifyingADeletedRecordSaysSo()
    {
        ContentSite site;
        QVERIFY(
            site.db.run("INSERT INTO content01(firstCatalog,value01,value02,value03) VALUES('新闻','旧','2026-1-1','')")
                .ok);
        const qint64 id = fieldText(site.contents(1, "新闻").first(), "ID").toLongLong();
        insDataFrm_newsMod mod(site.ctx, PageRef{1, QStringLiteral("新闻")}, QString::number(id));
        QVERIFY(mod.Form_Load());
        QVERIFY(site.db.deleteContent(1, id).ok);
        ctl<QLineEdit>(mod, "txt_title")->setText(QStringLiteral("新"));
        ContentSite::press(mod, "OKButton");
        QCOMPARE(site.dlg.texts(), QStringList{QStringLiteral("该条数据已被删除，修改没有保存！")});
        QVERIFY(site.contents(1, "新闻").isEmpty());
    }
};

WEBLARK_TEST_MAIN(TestWorkspaceFiles)
#include "test_workspace_files.moc"
