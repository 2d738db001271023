#include "SiteFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "appearance/CustomPages.h"

#include <QTemporaryDir>

using namespace CustomPages;

// Writes each relative path under root: a name ending in "/" is a folder.
static void stage(const QString& root, const QStringList& paths)
{
    for (const QString& p : paths) {
        if (p.endsWith('/'))
            QDir().mkpath(root + p);
        else
            writeFile(root + p, p.toUtf8());
    }
}

class TestCustomPages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void homePageChecks_data()
    {
        QTest::addColumn<QStringList>("folder");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("ending"); // "" when accepted
        QTest::addColumn<int>("icon");
        const QStringList good{"default.htm", "images/a.gif"};
        const auto add = [](const char* row, const QStringList& folder, const char* chosen, const char* ending,
                            MsgIcon icon) {
            QTest::newRow(row) << folder << QString(chosen) << QString(ending) << int(icon);
        };
        const MsgIcon info = MsgIcon::Information;
        add("accepted", good, "default.htm", "", MsgIcon::None);
        add("capital D accepted", {"Default.htm", "images/"}, "Default.htm", "", MsgIcon::None);
        add("missing", good, "nothing.htm", "nothing.htm文件不存在!", MsgIcon::Critical);
        add("wrong name", {"index.htm", "images/"}, "index.htm", "这不是一个有效的default.htm文件", info);
        add("extra file", good + QStringList{"b.htm"}, "default.htm", "含有多余的文件！", info);
        add("no images", {"default.htm", "pics/"}, "default.htm", "文件夹中必须包含images文件夹！", info);
        add("extra folder", good + QStringList{"css/"}, "default.htm", "含有多余的文件夹！", info);
    }
    void homePageChecks()
    {
        QFETCH(QStringList, folder);
        QFETCH(QString, chosen);
        QFETCH(QString, ending);
        QFETCH(int, icon);
        QTemporaryDir dir;
        const QString root = dir.path() + "/";
        stage(root, folder);
        const std::optional<Notice> refusal = checkHomePage(root + chosen);
        QCOMPARE(refusal.has_value(), !ending.isEmpty());
        if (!refusal)
            return;
        QVERIFY2(refusal->text.endsWith(ending), qPrintable(refusal->text));
        QCOMPARE(int(refusal->icon), icon);
        QCOMPARE(refusal->title, icon == int(MsgIcon::Critical) ? "警告" : "提示");
    }

    void otherPagesWithADefaultPageAreRefusedWhole()
    {
        SiteFixture f;
        QTemporaryDir dir;
        stage(dir.path() + "/", {"a.htm", "Default.htm", "images/p.gif"});
        QStringList names{"kept"};
        const Outcome out = installOtherPages(f.db, dir.path(), f.app.workPath(), {}, &names);
        QVERIFY(!out.done);
        QCOMPARE(out.notices.value(0).text, "不能包含default.htm！");
        QVERIFY(!QFile::exists(f.inWork("a.htm")));
        QVERIFY(!QFile::exists(f.inWork("images/p.gif")));
        QCOMPARE(f.stored("field01"), "");
        QCOMPARE(names, QStringList{"kept"});
        // A folder without pages stores an empty list, as text.
        QVERIFY(f.db.updateUserInfo("field01", "||a.htm").ok);
        QVERIFY(installOtherPages(f.db, f.app.file("initData"), f.app.workPath(), {}, &names).done);
        QCOMPARE(f.stored("field01"), "");
    }

    // Listed names that are empty, lead outside, or name a folder delete nothing.
    void deletionStaysInTheWorkspace()
    {
        SiteFixture f;
        stage(f.app.appPath(), {"x", "x.htm", "userImages/dir.htm/inner.htm", "userImages/a.htm", "userImages/b.mht",
                                "userImages/govbuilder.sbd.bak"});
        QVERIFY(f.db.updateUserInfo("field01", "||a.htm||b.mht").ok);
        const Outcome out =
            removeOtherPages(f.db, f.app.workPath(),
                             {"", "../x", "../x.htm", "..\\x.htm", "dir.htm", "a.htm", "govbuilder.sbd.bak", "b.mht"});
        QVERIFY(out.done);
        QVERIFY(out.notices.isEmpty());
        QCOMPARE(f.stored("field01"), "");
        for (const char* kept : {"x", "x.htm", "userImages/dir.htm/inner.htm", "userImages/govbuilder.sbd.bak"})
            QVERIFY2(QFile::exists(f.app.file(kept)), kept);
        QVERIFY(!QFile::exists(f.inWork("a.htm")));
        QVERIFY(!QFile::exists(f.inWork("b.mht")));
        // An edited home page box names another file of the workspace: it stays.
        QVERIFY(removeHomePage(f.db, f.app.workPath(), "govbuilder.sbd").done);
        QVERIFY(QFile::exists(f.inWork("govbuilder.sbd")));
    }

    // The home page and the other pages keep their own pictures in the one images folder.
    void imagesFolderIsShared()
    {
        SiteFixture f;
        QTemporaryDir homeDir, otherDir, clashDir;
        const QString home = homeDir.path() + "/", other = otherDir.path() + "/", clash = clashDir.path() + "/";
        stage(home, {"default.htm", "images/a.gif", "images/shared.gif", "images/sub/deep.gif", "images/mine.gif"});
        stage(other, {"p.htm", "q.mht", "images/b.gif", "images/shared.gif"});
        stage(f.app.workPath(), {"images/mine.gif"}); // brought by no installation, though the home page has it too
        writeFile(clash + "r.htm", "r");
        writeFile(clash + "images/a.gif", "different");

        QVERIFY(installHomePage(f.db, home + "default.htm", f.app.workPath()).done);
        QStringList names;
        QVERIFY(installOtherPages(f.db, other, f.app.workPath(), {}, &names).done);
        QCOMPARE(names, (QStringList{"p.htm", "q.mht"}));
        QCOMPARE(f.stored("defaultFile"), "default.htm");
        QCOMPARE(f.stored("field01"), "||p.htm||q.mht");

        // A picture of the same name and other content would spoil the home page: refused, nothing changes.
        const Outcome refused = installOtherPages(f.db, clash, f.app.workPath(), names, &names);
        QVERIFY(!refused.done);
        QVERIFY(refused.notices.value(0).text.contains("a.gif"));
        QCOMPARE(readFile(f.inWork("images/a.gif")), QByteArray("images/a.gif"));
        QVERIFY(QFile::exists(f.inWork("p.htm")));

        QVERIFY(removeHomePage(f.db, f.app.workPath(), "default.htm").done);
        QCOMPARE(f.stored("defaultFile"), "");
        QVERIFY(!QFile::exists(f.inWork("default.htm")));
        QVERIFY(!QFile::exists(f.inWork("images/a.gif")));
        QVERIFY(!QDir(f.inWork("images/sub")).exists());
        for (const char* kept : {"images/b.gif", "images/shared.gif", "images/mine.gif"})
            QVERIFY2(QFile::exists(f.inWork(kept)), kept);

        // Other pages chosen again from another folder: the former pages and their pictures go.
        QVERIFY(installOtherPages(f.db, clash, f.app.workPath(), {"", "p.htm", "q.mht"}, &names).done);
        QCOMPARE(f.stored("field01"), "||r.htm");
        for (const char* gone : {"p.htm", "q.mht", "images/b.gif", "images/shared.gif"})
            QVERIFY2(!QFile::exists(f.inWork(gone)), gone);
        QCOMPARE(readFile(f.inWork("images/a.gif")), QByteArray("different"));

        QVERIFY(removeOtherPages(f.db, f.app.workPath(), {"", "r.htm"}).done);
        QCOMPARE(QDir(f.inWork("images")).entryList(QDir::Files), QStringList{"mine.gif"});
        QVERIFY(!QFile::exists(ImagesRecord::recordPath(f.app.workPath())));
    }

    void headReplacesItsFormerKind()
    {
        SiteFixture f;
        QTemporaryDir dir;
        stage(dir.path() + "/", {"Banner.JPG", "movie.swf", "note.txt"});
        QCOMPARE(checkHead(dir.path() + "/note.txt")->text, "这不是一个有效的头文件");
        QVERIFY(installHead(f.db, dir.path() + "/Banner.JPG", f.app.workPath()).done);
        QCOMPARE(f.stored("topHead"), "topHeadSelf.jpg");
        // Chosen again from the workspace itself: kept, not deleted as the former head.
        QVERIFY(installHead(f.db, f.inWork("topHeadSelf.jpg"), f.app.workPath()).done);
        QCOMPARE(readFile(f.inWork("topHeadSelf.jpg")), QByteArray("Banner.JPG"));
        QVERIFY(installHead(f.db, dir.path() + "/movie.swf", f.app.workPath()).done);
        QCOMPARE(f.stored("topHead"), "topHeadSelf.swf");
        QVERIFY(!QFile::exists(f.inWork("topHeadSelf.jpg")));
        QVERIFY(removeHead(f.db, f.app.workPath()).done);
        QVERIFY(!QFile::exists(f.inWork("topHeadSelf.swf")));
        QCOMPARE(f.stored("topHead"), "");
    }
};

WEBLARK_TEST_MAIN(TestCustomPages)
#include "test_custom_pages.moc"
