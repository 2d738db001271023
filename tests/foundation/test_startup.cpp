#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "app/MDIFrm.h"
#include "data/SiteDb.h"
#include "workspace/FileOps.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QStringEncoder>

#include <cerrno>
#include <unistd.h>

// Backup and restore copy on a worker thread; the frame takes input again when they end.
static void settle(MDIFrm& frame)
{
    QTRY_VERIFY_WITH_TIMEOUT(frame.isEnabled(), 30000);
}

// A folder without its write bits for as long as it lives (none for an empty path).
struct ReadOnlyFolder {
    QString path;
    explicit ReadOnlyFolder(const QString& p) : path(p)
    {
        if (!path.isEmpty())
            QFile::setPermissions(path,
                                  QFile::permissions(path) & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                                               QFileDevice::WriteGroup | QFileDevice::WriteOther));
    }
    ~ReadOnlyFolder()
    {
        if (!path.isEmpty())
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    }
};

static QStringList tree(const QString& dir)
{
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    names.sort();
    return names;
}

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Where the program writes, by how its application folder is found and whether it may write there.
    void dataRoots()
    {
        QTemporaryDir tmp;
        const QString t = tmp.path() + '/';
        for (const char* d :
             {"build/appdir/initData", "usr/bin", "usr/share/weblark/initData", "copy/initData", "ro/initData"})
            QVERIFY(QDir().mkpath(t + d));
        const QString user = t + "home/.local/share/weblark/";
        // Root may write anywhere: to root the folder is named read-only instead.
        const ReadOnlyFolder ro(t + "ro");
        const auto writable = [&](const QString& p) {
            return Workspace::isWritableFolder(p) && !(geteuid() == 0 && p == t + "ro/");
        };
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(t);
        const struct {
            const char *exe, *option;
            QString app, data;
        } rows[] = {
            {"build/appdir", "", t + "build/appdir/", t + "build/appdir/"}, // the build tree
            {"usr/bin", "", t + "usr/share/weblark/", user},                // installed
            {"usr/bin", "copy", t + "copy/", t + "copy/"},                  // --appdir, relative
            {"usr/bin", "ro", t + "ro/", user},                             // --appdir, read-only
            {"ro", "", t + "ro/", user},                                    // read-only beside the program
            {"usr", "", t + "usr/", t + "usr/"}, // no material found: the program's folder, as ever
        };
        for (const auto& row : rows) {
            const DataRoots r = Workspace::programRoots(row.option, t + row.exe, user, writable);
            QCOMPARE(r.appPath, row.app);
            QCOMPARE(r.dataPath, row.data);
        }
        QDir::setCurrent(cwd);
    }

    // The first start makes initPath.ini (empty) and the workspace from the pristine database in
    // the data folder. In the user's own folder that is all: the application folder stays as it was.
    void firstStart()
    {
        const struct {
            const char* what;
            bool perUser, userIniNamesOther, appIniNamesOther, staleWorkspace;
        } rows[] = {
            {"writable application folder", false, false, false, false},
            {"user's folder", true, false, false, false},
            {"workspace named in the user's initPath.ini", true, true, false, false},
            {"the application folder's initPath.ini is not the user's", true, false, true, false},
            {"a workspace without its database is set aside in the user's folder", true, false, false, true},
        };
        for (const auto& row : rows) {
            TestAppDir app(false);
            QTemporaryDir home, other;
            const QString data = row.perUser ? home.path() + "/.local/share/weblark/" : app.appPath();
            const QString pristine = app.file("initData/govbuilder.sbd");
            QVERIFY(QFile::copy(pristine, other.filePath("govbuilder.sbd")));
            const QByteArray otherLine = other.path().toUtf8() + "/\n";
            if (row.userIniNamesOther)
                writeFile(data + "initPath.ini", otherLine);
            if (row.appIniNamesOther)
                writeFile(app.file("initPath.ini"), otherLine);
            if (row.staleWorkspace)
                writeFile(data + "userImages/photo.jpg", "picture");
            const ReadOnlyFolder ro(row.perUser ? app.path() : QString());
            const QStringList before = tree(app.path());

            const WorkspaceSetup s =
                Workspace::resolve(DataRoots(app.path(), data), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
            QVERIFY2(s.problems.isEmpty(), qPrintable(s.problems.join('\n')));
            QVERIFY(!row.perUser || tree(app.path()) == before);
            QCOMPARE(s.appPath, app.appPath());
            QCOMPARE(s.dataPath, data);
            QCOMPARE(readFile(data + "initPath.ini"), row.userIniNamesOther ? otherLine : QByteArray());
            QCOMPARE(s.movedAsideTo, row.staleWorkspace ? data + "userImages.old-20260102-030405/" : QString());
            QCOMPARE(s.workPath, row.userIniNamesOther ? other.path() + '/' : data + "userImages/");
            QCOMPARE(s.imgPath, s.workPath);
            QCOMPARE(readFile(s.workPath + "govbuilder.sbd"), readFile(pristine));
        }
    }

    void configuredFolderCases_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("usesConfigured");
        QTest::newRow("folder with database, trailing slash") << "good" << true;
        QTest::newRow("folder with database, no trailing slash") << "noslash" << true;
        QTest::newRow("chinese name with blanks") << "chinese" << true;
        QTest::newRow("CRLF line end") << "crlf" << true;
        QTest::newRow("GB18030 first line") << "gbk" << true;
        QTest::newRow("missing folder") << "missing" << false;
        QTest::newRow("names a file") << "file" << false;
        QTest::newRow("folder without database") << "nodb" << false;
    }
    void configuredFolderCases()
    {
        QFETCH(QString, kind);
        QFETCH(bool, usesConfigured);
        TestAppDir app;
        QTemporaryDir other;
        QString folder = other.path() + (kind == "chinese" || kind == "gbk" ? QStringLiteral("/我的 网站/")
                                                                            : QStringLiteral("/site/"));
        QDir().mkpath(folder);
        if (kind != "nodb")
            QFile::copy(app.file("initData/govbuilder.sbd"), folder + "govbuilder.sbd");
        QString line = folder;
        if (kind == "noslash")
            line.chop(1);
        if (kind == "missing")
            line = other.path() + "/nothing/";
        if (kind == "file") {
            line = other.path() + "/plain.txt";
            writeFile(line, "x");
        }
        QByteArray bytes = line.toUtf8() + "\n";
        if (kind == "crlf")
            bytes = line.toUtf8() + "\r\nsecond line\r\n";
        if (kind == "gbk")
            bytes = QStringEncoder("GB18030").encode(line) + "\n";
        writeFile(app.file("initPath.ini"), bytes);
        // Something of the user's in the default workspace, which must survive.
        writeFile(app.workPath() + "photo.jpg", "picture");
        writeFile(app.workPath() + "images/a.jpg", "a");

        const WorkspaceSetup s = Workspace::resolve(app.path(), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
        if (usesConfigured) {
            QCOMPARE(s.workPath, folder);
            QCOMPARE(readFile(app.file("initPath.ini")), bytes);
            return;
        }
        QCOMPARE(s.workPath, app.workPath());
        QCOMPARE(readFile(app.file("initPath.ini")), QByteArray()); // reset from the pristine copy
        if (kind == "nodb") {
            QCOMPARE(s.imgPath, folder); // the configured folder is still remembered for the logo
            // The default workspace was rebuilt, its old files moved aside, not deleted.
            const QString aside = app.appPath() + "userImages.old-20260102-030405/";
            QCOMPARE(s.movedAsideTo, aside);
            QCOMPARE(readFile(aside + "photo.jpg"), QByteArray("picture"));
            QCOMPARE(readFile(aside + "images/a.jpg"), QByteArray("a"));
            QVERIFY(QFile::exists(aside + "govbuilder.sbd"));
            QCOMPARE(QDir(app.workPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{"govbuilder.sbd"});
        } else {
            // The default workspace had its database: nothing moved.
            QVERIFY(s.movedAsideTo.isEmpty());
            QCOMPARE(readFile(app.workPath() + "photo.jpg"), QByteArray("picture"));
        }
    }

    void unreadableDatabaseIsKept()
    {
        TestAppDir app;
        const QByteArray junk = "这不是数据库 this is a text file\n";
        writeFile(app.workPath() + "govbuilder.sbd", junk);
        RecordingDialogService dlg;
        {
            MDIFrm frame(app.path(), dlg);
            QCOMPARE(frame.windowTitle(), QStringLiteral("--Weblark自动建站系列软件"));
            QVERIFY(!frame.conn().isOpen());
            QVERIFY(!frame.conn().selectUserInfo().ok);
        }
        QCOMPARE(readFile(app.workPath() + "govbuilder.sbd"), junk);
    }

    // Backup and restore work on the workspace in use: the default one, or the configured folder.
    void backupAndRestore_data()
    {
        QTest::addColumn<bool>("configured");
        QTest::addColumn<bool>("perUser");
        QTest::newRow("default workspace") << false << false;
        QTest::newRow("configured workspace") << true << false;
        QTest::newRow("the user's own data folder") << false << true;
    }
    void backupAndRestore()
    {
        QFETCH(bool, configured);
        QFETCH(bool, perUser);
        TestAppDir app;
        QTemporaryDir other, home;
        // Where initPath.ini, the workspace and the backup live.
        const QString data = perUser ? home.path() + '/' : app.appPath();
        if (configured) {
            QDir().mkpath(other.filePath("site"));
            QFile::copy(app.file("initData/govbuilder.sbd"), other.filePath("site/govbuilder.sbd"));
            writeFile(app.file("initPath.ini"), other.filePath("site/").toUtf8());
            writeFile(app.workPath() + "default.jpg", "D");
        }
        RecordingDialogService dlg;
        MDIFrm frame(DataRoots(app.path(), data), dlg);
        const QString work = frame.context().workPath;
        QCOMPARE(work, configured ? other.filePath("site/") : data + "userImages/");
        const auto saved = [&](const char* name) { return data + "savedData/" + name; };

        // Restore without a backup (a "savedData" without the database is none): only the message.
        writeFile(saved("x.jpg"), "x");
        frame.mnufile_revert();
        QCOMPARE(dlg.texts(), QStringList{QStringLiteral("数据还原失败，不存在备份数据！")});
        QCOMPARE(dlg.last().title, QStringLiteral("提示"));

        QVERIFY(frame.conn().updateUserInfo(QStringLiteral("webName"), QStringLiteral("第一版")).ok);
        writeFile(work + "a.jpg", "A1");
        dlg.clear();
        frame.mnufile_backup();
        // While the copy runs the frame takes no input, and no restore starts.
        QVERIFY(!frame.isEnabled());
        frame.mnufile_revert();
        settle(frame);
        QCOMPARE(dlg.texts(), QStringList{QStringLiteral("数据备份成功！")});
        QCOMPARE(dlg.last().icon, MsgIcon::Information);

        // The second backup replaces the first completely.
        QFile::remove(work + "a.jpg");
        writeFile(work + "b.jpg", "B1");
        QVERIFY(frame.conn().updateUserInfo(QStringLiteral("webName"), QStringLiteral("第二版")).ok);
        frame.mnufile_backup();
        settle(frame);
        QCOMPARE(QDir(saved("")).entryList(QDir::Files),
                 (QStringList{"b.jpg", "govbuilder.sbd"})); // nothing of the default folder when another is used
        QCOMPARE(readFile(saved("b.jpg")), QByteArray("B1"));
        QVERIFY(!perUser || !QFile::exists(app.file("savedData")));

        // Later edits, then restore with "No": nothing changes.
        QVERIFY(frame.conn().updateUserInfo(QStringLiteral("webName"), QStringLiteral("第三版")).ok);
        writeFile(work + "b.jpg", "B2");
        writeFile(work + "c.jpg", "C");
        dlg.clear();
        dlg.answers.enqueue(MsgAnswer::No);
        frame.mnufile_revert();
        QCOMPARE(dlg.texts(),
                 QStringList{"确实要还原数据吗，当前数据将被覆盖！\r\n数据还原后，Weblark将有可能重新启动！"});
        QCOMPARE(dlg.last().buttons, MsgButtons::YesNo);
        QCOMPARE(frame.conn().webName(), QStringLiteral("第三版"));

        // With "Yes" the backup comes back; files only in the workspace stay.
        QFile::setPermissions(work + "b.jpg", QFileDevice::ReadOwner);
        dlg.clear();
        frame.mnufile_revert();
        settle(frame);
        QCOMPARE(dlg.shown.size(), 1);
        QCOMPARE(frame.conn().webName(), QStringLiteral("第二版"));
        QCOMPARE(readFile(work + "b.jpg"), QByteArray("B1"));
        QCOMPARE(readFile(work + "c.jpg"), QByteArray("C"));
        if (configured)
            QCOMPARE(readFile(app.workPath() + "default.jpg"), QByteArray("D"));
    }

    // A backup or restore that fails half-way leaves the older backup, or the
    // workspace, exactly as it was, and says so.
    void failedBackupOrRestoreChangesNothing_data()
    {
        QTest::addColumn<bool>("restoring");
        QTest::addColumn<bool>("diskFails"); // the copies cannot be synced to the disk before the swap
        QTest::newRow("backup") << false << false;
        QTest::newRow("restore") << true << false;
        QTest::newRow("backup, disk fails") << false << true;
        QTest::newRow("restore, disk fails") << true << true;
    }
    void failedBackupOrRestoreChangesNothing()
    {
        QFETCH(bool, restoring);
        QFETCH(bool, diskFails);
        TestAppDir app;
        RecordingDialogService dlg;
        MDIFrm frame(app.path(), dlg);
        QVERIFY(frame.conn().updateUserInfo("webName", QStringLiteral("第一版")).ok);
        writeFile(app.workPath() + "a.jpg", "A1");
        frame.mnufile_backup();
        settle(frame);
        QVERIFY(frame.conn().updateUserInfo("webName", QStringLiteral("第二版")).ok);
        writeFile(app.workPath() + "a.jpg", "A2");
        // A file that cannot be read (a link to nowhere) stops the copy half-way.
        if (!diskFails)
            QVERIFY(
                QFile::link(app.file("nowhere.jpg"), (restoring ? app.file("savedData/") : app.workPath()) + "zz.jpg"));
        const auto sync = FileOps::syncCall;
        const auto restoreSync = qScopeGuard([sync] { FileOps::syncCall = sync; });
        if (diskFails)
            FileOps::syncCall = [](int) {
                errno = EIO;
                return -1;
            };
        dlg.clear();
        if (restoring)
            dlg.answers.enqueue(MsgAnswer::Yes);
        restoring ? frame.mnufile_revert() : frame.mnufile_backup();
        settle(frame);
        const QString expected = restoring ? QStringLiteral("数据还原失败，当前数据没有改变。")
                                           : QStringLiteral("数据备份失败，原有的备份数据没有改变。");
        QVERIFY2(dlg.last().text.startsWith(expected), qPrintable(dlg.last().text));
        QCOMPARE(frame.conn().webName(), QStringLiteral("第二版"));
        QCOMPARE(readFile(app.workPath() + "a.jpg"), QByteArray("A2"));
        QCOMPARE(readFile(app.file("savedData/a.jpg")), QByteArray("A1"));
        SiteDb saved(QStringLiteral("saved"));
        QVERIFY(saved.open(app.file("savedData/")));
        QCOMPARE(saved.webName(), QStringLiteral("第一版"));
        // No half-made folder is left beside the backup or the workspace.
        QCOMPARE(QDir(app.path()).entryList({QStringLiteral("*.*-*")}, QDir::Dirs), QStringList());
    }
};

WEBLARK_TEST_MAIN(TestStartup)
#include "test_startup.moc"
