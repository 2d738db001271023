#include "SiteFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "content/Pictures.h"
#include "shell/GuideTopics.h"
#include "shell/guidFrm.h"
#include "shell/infoFrm.h"
#include "widgets/WebPane.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

// A fresh workspace with no site name; the logo folder (imgPath) may lie outside the application directory.
struct ShellFixture : SiteFixture {
    QTemporaryDir outside;

    explicit ShellFixture(bool logoElsewhere = false) : SiteFixture(QString())
    {
        ctx.imgPath = logoElsewhere ? outside.path() + "/work/" : app.workPath();
        QDir().mkpath(ctx.imgPath);
        QDir().mkpath(outside.path() + "/pick/other");
    }
    QString logoFiles() const { return QDir(ctx.imgPath).entryList({"*.png", "*.jpg"}, QDir::Files).join(' '); }
    // A picture to pick: "a.png" from a folder of its own, "other/a.png" a different picture of the
    // same name, "work/a.png" one already in the logo folder.
    QString picture(const QString& name)
    {
        const bool work = name.startsWith("work/");
        const QString path = work ? ctx.imgPath + name.mid(5) : outside.path() + "/pick/" + name;
        QImage image(name.startsWith("other/") ? QSize(30, 30) : QSize(40, 20), QImage::Format_RGB32);
        image.fill(0xff2060a0);
        if (!QFile::exists(path))
            image.save(path, "PNG");
        return path;
    }
};

static QTreeWidgetItem* itemByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, guidFrm::KeyRole).toString() == key)
            return *it;
    return nullptr;
}

static QString pictureOf(QTreeWidget* tree, const QString& key)
{
    return itemByKey(tree, key)->data(0, guidFrm::PictureRole).toString();
}

class TestShell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every page the guide's tree names is shipped; the guide opens on the index page, and a click
    // shows the page of the node clicked.
    void guidePagesAndClicks()
    {
        ShellFixture f;
        guidFrm g(f.ctx);
        g.show();
        auto* tree = ctl<QTreeWidget>(&g, "tvw_title");
        auto* weber = ctl<WebPane>(&g, "weber");
        int pages = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QString key = (*it)->data(0, guidFrm::KeyRole).toString();
            if ((*it)->data(0, guidFrm::TagRole).toString() != "file")
                continue;
            ++pages;
            QVERIFY2(QFileInfo::exists(GuideTopics::pagePath(f.ctx.appPath, key)), qPrintable(key));
        }
        QVERIFY(pages > 10);
        QCOMPARE(weber->url().toLocalFile(), f.app.file("help/index.htm"));

        QVERIFY(QFile::remove(f.app.file("help/faq03.htm")));
        auto click = [&](const QString& key) {
            tree->scrollToItem(itemByKey(tree, key));
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(itemByKey(tree, key)).center());
            QCOMPARE(g.currentKey(), key);
        };
        // A page, at the top level or below a folder; a missing one shows an empty page.
        itemByKey(tree, "doc")->setExpanded(true);
        for (const QString key : {"suc.htm", "ceo.htm"}) {
            click(key);
            QCOMPARE(weber->url().toLocalFile(), f.app.file("help/" + key));
        }
        // Expanding by the plus sign changes no picture until the next click; a folder click
        // refreshes the pictures and keeps the page.
        itemByKey(tree, "FAQ")->setExpanded(true);
        itemByKey(tree, "about")->setExpanded(false);
        QCOMPARE(pictureOf(tree, "FAQ"), QStringLiteral("close"));
        click("FAQ");
        QCOMPARE(QStringList({pictureOf(tree, "FAQ"), pictureOf(tree, "about"), pictureOf(tree, "faq01.htm")}),
                 QStringList({"open", "close", "file"}));
        QCOMPARE(weber->url().toLocalFile(), f.app.file("help/ceo.htm"));
        click("faq03.htm");
        QCOMPARE(weber->url().toString(), QStringLiteral("about:blank"));
    }

    void infoSave_data()
    {
        QTest::addColumn<QString>("webName");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("message"); // "" for the statement's failure
        const auto add = [](const char* row, const char* webName, const char* other, const char* message) {
            QTest::newRow(row) << QString(webName) << QString(other) << QString(message);
        };
        add("blank name refused", "  　 ", "x", "站点名称不能为空！");
        add("blanks kept", "  我的网站 ", " 前后 ", "数据保存成功！");
        add("quotes, backslashes", "O'Neil \"站\"", "a\\b' ; DROP TABLE user_info; --", "数据保存成功！");
        add("failing statement", "站", "x", "");
    }
    void infoSave()
    {
        QFETCH(QString, webName);
        QFETCH(QString, other);
        QFETCH(QString, message);
        ShellFixture f;
        f.db.run("UPDATE user_info SET logo = 'keep.png'");
        const bool saved = message == "数据保存成功！";
        const QStringList boxes{"txt_govName", "txt_addr", "txt_linkMan", "txt_tel",
                                "txt_mobile",  "txt_fax",  "txt_zip",     "txt_email"};
        const QStringList columns{"gov_name", "Address", "linkMan", "Tel", "Mobile", "Fax", "Zip", "Email"};
        {
            infoFrm w(f.ctx);
            ctl<QLineEdit>(&w, "txt_webName")->setText(webName);
            for (int i = 0; i < 8; ++i)
                w.findChild<QLineEdit*>(boxes[i])->setText(other + QString::number(i));
            if (message.isEmpty())
                f.db.run("ALTER TABLE user_info RENAME TO gone");
            QTest::mouseClick(ctl<QPushButton>(&w, "cmd_OK"), Qt::LeftButton);
            if (message.isEmpty())
                QVERIFY(f.dlg.lastIs("不期望的错误,errNo:infoFrm", "提示", MsgIcon::Critical));
            else
                QVERIFY(f.dlg.lastIs(message, "提示", MsgIcon::Information));
            QCOMPARE(w.hasUnsavedChanges(), !saved);
            f.db.run("ALTER TABLE gone RENAME TO user_info");
        }
        QCOMPARE(f.stored("webName"), saved ? webName : QString());
        for (int i = 0; i < 8; ++i)
            QCOMPARE(f.stored(columns[i]), saved ? other + QString::number(i) : QString());
        QCOMPARE(f.stored("logo"), QStringLiteral("keep.png"));
        infoFrm again(f.ctx);
        QCOMPARE(ctl<QLineEdit>(&again, "txt_email")->text(), f.stored("Email"));
        QVERIFY(!again.hasUnsavedChanges());
    }

    // Steps: "pick NAME" (see ShellFixture::picture), "cancel", "save", "remove", "edit", "page NAME"
    // (a page's record names the picture NAME); a first
    // step "elsewhere" puts the logo folder outside the application directory.
    void infoLogo_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("logo");    // stored at the end
        QTest::addColumn<QString>("files");   // in the logo folder at the end
        QTest::addColumn<QString>("message"); // the last message
        const QString ok = "数据保存成功！";
        auto row = [](const char* name, const char* steps, const char* logo, const char* files, QString msg) {
            QTest::newRow(name) << QString(steps) << QString(logo) << QString(files) << msg;
        };
        row("choose, save", "pick a.png|save", "a.png", "a.png", ok);
        row("second logo unsaved: stored file kept", "pick a.png|save|pick b.png", "a.png", "a.png b.png", ok);
        row("second logo saved replaces the first", "pick a.png|save|pick b.png|save", "b.png", "b.png", ok);
        row("unsaved choice replaced", "pick a.png|pick b.png|save", "b.png", "b.png", ok);
        row("remove", "pick a.png|save|remove", "", "", "单位徽标已取消！");
        row("remove at once, save keeps it empty", "pick a.png|save|pick b.png|remove|edit|save", "", "", ok);
        row("Chinese name refused", "pick a.png|save|pick 徽标.png", "a.png", "a.png",
            "所选择的文件名中不能包含中文，请重命名后选择文件！");
        row("cancel", "pick a.png|save|cancel", "a.png", "a.png", DialogService::cancelDescription());
        row("not a picture", "pick a.png|save|pick bad.jpg", "a.png", "a.png", Pictures::unreadableMessage());
        row("stored logo chosen from the folder", "pick a.png|save|pick work/a.png|save", "a.png", "a.png", ok);
        row("folder file kept for another choice", "pick work/w.png|pick b.png|save", "b.png", "b.png w.png", ok);
        row("same name, other picture", "pick a.png|save|pick other/a.png|save", "a_2.png", "a_2.png", ok);
        row("logo folder elsewhere", "elsewhere|pick a.png|save|pick b.png|save", "b.png", "b.png", ok);
        row("a page's picture as the logo, removed", "pick work/p.png|save|page p.png|remove", "", "p.png",
            "单位徽标已取消！");
        row("a page's picture stays when the logo changes", "page a.png|pick a.png|save|pick b.png|save", "b.png",
            "a.png b.png", ok);
    }
    void infoLogo()
    {
        QFETCH(QString, steps);
        QFETCH(QString, logo);
        QFETCH(QString, files);
        QFETCH(QString, message);
        ShellFixture f(steps.startsWith("elsewhere"));
        f.db.run("UPDATE user_info SET webName = '站'");
        // A file of the same name in the default picture folder is not the logo's to delete.
        const QString decoy = f.app.workPath() + "a.png";
        if (f.ctx.imgPath != f.app.workPath())
            QVERIFY(QFile::copy(f.picture("a.png"), decoy));
        writeFile(f.outside.path() + "/pick/bad.jpg", "not a picture");
        infoFrm w(f.ctx);
        w.show();
        for (const QString& step : steps.split('|')) {
            if (step.startsWith("pick "))
                f.dlg.files << f.picture(step.mid(5));
            if (step.startsWith("pick ") || step == "cancel")
                QTest::mouseClick(ctl<QPushButton>(&w, "cmd_view"), Qt::LeftButton);
            else if (step == "save")
                QTest::mouseClick(ctl<QPushButton>(&w, "cmd_OK"), Qt::LeftButton);
            else if (step == "remove")
                QTest::mouseClick(ctl<QPushButton>(&w, "cmd_img_cancel"), Qt::LeftButton);
            else if (step == "edit")
                ctl<QLineEdit>(&w, "txt_tel")->setText("123");
            else if (step.startsWith("page "))
                QVERIFY(f.db.run("INSERT INTO content01(firstCatalog,value03) VALUES('页', ?)", {step.mid(5)}).ok);
        }
        QCOMPARE(f.dlg.last().text, message);
        QCOMPARE(f.stored("logo"), logo);
        QCOMPARE(f.logoFiles(), files);
        QCOMPARE(w.oldLogoName(), logo);
        QVERIFY(f.ctx.imgPath == f.app.workPath() || QFile::exists(decoy));
        // The logo is shown in its box with its proportions.
        const QPixmap shown = ctl<QLabel>(&w, "img")->pixmap();
        QCOMPARE(shown.isNull(), w.logoName().isEmpty());
        const QImage source(f.ctx.imgPath + w.logoName());
        if (!shown.isNull())
            QVERIFY(qAbs(double(shown.width()) / shown.height() - double(source.width()) / source.height()) < 0.05);
    }

    // Leaving the window with unsaved changes says so once and brings it back; unchanged, it goes quietly.
    void infoLeaving()
    {
        for (const bool changed : {true, false}) {
            ShellFixture f;
            auto w = std::make_unique<infoFrm>(f.ctx);
            int broughtBack = 0;
            w->bringBack = [&] { ++broughtBack; };
            if (changed)
                ctl<QLineEdit>(*w, "txt_zip")->setText("100000");
            // Turning away again while the box is open must not bring a second box.
            f.dlg.whileShown = [&](const RecordingDialogService::Shown&) { w->deactivated(); };
            w->deactivated();
            QCOMPARE(f.dlg.texts(), changed ? QStringList{"数据还未保存！"} : QStringList());
            if (changed)
                QVERIFY(f.dlg.lastIs("数据还未保存！", "提示", MsgIcon::Question) &&
                        f.dlg.last().buttons == MsgButtons::Ok);
            QCOMPARE(broughtBack, changed ? 1 : 0);
            QCOMPARE(ctl<QLineEdit>(*w, "txt_zip")->text(), changed ? QStringLiteral("100000") : QString());
            QCOMPARE(w->hasUnsavedChanges(), changed);
            QCOMPARE(f.stored("Zip"), QString());
        }
    }
};

WEBLARK_TEST_MAIN(TestShell)
#include "test_shell.moc"
