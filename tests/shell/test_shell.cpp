#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "app/AppContext.h"
#include "content/Pictures.h"
#include "shell/GuideTopics.h"
#include "shell/guidFrm.h"
#include "shell/infoFrm.h"
#include "widgets/WebPane.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

// A fresh workspace with recorded messages; imgPath may lie outside the application directory.
struct ShellFixture {
    TestAppDir app;
    QTemporaryDir outside;
    RecordingDialogService dlg;
    SiteDb db{QStringLiteral("shell-test")};
    AppContext ctx{db, dlg};

    explicit ShellFixture(bool logoElsewhere = false)
    {
        db.open(app.workPath());
        ctx.appPath = app.appPath();
        ctx.workPath = app.workPath();
        ctx.imgPath = logoElsewhere ? outside.path() + QStringLiteral("/work/") : app.workPath();
        QDir().mkpath(ctx.imgPath);
        QDir().mkpath(outside.path() + QStringLiteral("/pick"));
    }
    QString stored(const QString& column) const
    {
        const SqlResult r = db.run(QStringLiteral("SELECT %1 FROM user_info WHERE user_ID=1").arg(column));
        return r.ok && !r.isEmpty() ? r.first().value(0).toString() : QStringLiteral("<none>");
    }
    // The pictures in the logo folder, sorted.
    QStringList logoFiles() const
    {
        return QDir(ctx.imgPath).entryList({"*.png", "*.jpg", "*.gif", "*.bmp"}, QDir::Files, QDir::Name);
    }
    // A picture to pick, wide by tall, in a folder of its own (or in the logo folder: "work/name").
    QString picture(const QString& name, int w = 40, int h = 20, QRgb colour = 0xff2060a0)
    {
        const QString path =
            name.startsWith(QLatin1String("work/")) ? ctx.imgPath + name.mid(5) : outside.path() + "/pick/" + name;
        if (!QFile::exists(path)) {
            QImage image(w, h, QImage::Format_RGB32);
            image.fill(colour);
            image.save(path, "PNG");
        }
        return path;
    }
};

template <typename T> static T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qWarning("no control %s", name);
    return c;
}

static QTreeWidgetItem* itemByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, guidFrm::KeyRole).toString() == key)
            return *it;
    return nullptr;
}

static void clickItem(QTreeWidget* tree, QTreeWidgetItem* item)
{
    QVERIFY(item);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

class TestShell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // ---- guide ----

    void guideTreeFollowsTheTopicTable()
    {
        ShellFixture f;
        guidFrm g(f.ctx);
        auto* tree = child<QTreeWidget>(&g, "tvw_title");
        QTreeWidgetItem* lastTop = nullptr;
        int i = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it, ++i) {
            QTreeWidgetItem* item = *it;
            QVERIFY2(i < GuideTopics::topics().size(), "more nodes than topics");
            const GuideTopics::Topic& t = GuideTopics::topics().at(i);
            QCOMPARE(item->data(0, guidFrm::KeyRole).toString(), t.key);
            QCOMPARE(item->text(0), t.text);
            QCOMPARE(item->data(0, guidFrm::PictureRole).toString(), t.picture);
            QCOMPARE(item->data(0, guidFrm::TagRole).toString(), t.tag);
            QCOMPARE(item->parent(), t.child ? lastTop : nullptr);
            QCOMPARE(item->isExpanded(), t.expanded);
            if (!t.child)
                lastTop = item;
            // Every page the tree names is shipped.
            if (t.tag == QLatin1String("file"))
                QVERIFY2(QFileInfo::exists(GuideTopics::pagePath(f.ctx.appPath, t.key)), qPrintable(t.key));
        }
        QCOMPARE(i, GuideTopics::topics().size());
        QCOMPARE(child<WebPane>(&g, "weber")->url().toLocalFile(), f.app.file("help/index.htm"));
    }

    void guideFolderClickRefreshesPicturesOnly()
    {
        ShellFixture f;
        guidFrm g(f.ctx);
        g.show();
        auto* tree = child<QTreeWidget>(&g, "tvw_title");
        auto* weber = child<WebPane>(&g, "weber");
        clickItem(tree, itemByKey(tree, "setup.htm"));
        QCOMPARE(weber->url().toLocalFile(), f.app.file("help/setup.htm"));

        // Expanding by the plus sign leaves the picture until the next click.
        QTreeWidgetItem* faq = itemByKey(tree, "FAQ");
        QTreeWidgetItem* about = itemByKey(tree, "about");
        faq->setExpanded(true);
        about->setExpanded(false);
        QCOMPARE(faq->data(0, guidFrm::PictureRole).toString(), QStringLiteral("close"));
        clickItem(tree, itemByKey(tree, "doc"));
        QCOMPARE(g.currentKey(), QStringLiteral("doc"));
        QCOMPARE(faq->data(0, guidFrm::PictureRole).toString(), QStringLiteral("open"));
        QCOMPARE(about->data(0, guidFrm::PictureRole).toString(), QStringLiteral("close"));
        QCOMPARE(itemByKey(tree, "faq01.htm")->data(0, guidFrm::PictureRole).toString(), QStringLiteral("file"));
        QCOMPARE(weber->url().toLocalFile(), f.app.file("help/setup.htm"));
    }

    void guidePageClick_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("present");
        QTest::newRow("child page") << "ceo.htm" << true;
        QTest::newRow("top-level page") << "suc.htm" << true;
        QTest::newRow("missing page") << "faq03.htm" << false;
    }
    void guidePageClick()
    {
        QFETCH(QString, key);
        QFETCH(bool, present);
        ShellFixture f;
        if (!present)
            QVERIFY(QFile::remove(f.app.file("help/" + key)));
        guidFrm g(f.ctx);
        g.show();
        auto* tree = child<QTreeWidget>(&g, "tvw_title");
        itemByKey(tree, "doc")->setExpanded(true);
        itemByKey(tree, "FAQ")->setExpanded(true);
        clickItem(tree, itemByKey(tree, key));
        QCOMPARE(g.currentKey(), key);
        const QUrl url = child<WebPane>(&g, "weber")->url();
        QCOMPARE(url.toString(),
                 present ? QUrl::fromLocalFile(f.app.file("help/" + key)).toString() : QStringLiteral("about:blank"));
    }

    // ---- site information ----

    void infoSaveStoresWhatWasTyped_data()
    {
        QTest::addColumn<QString>("webName");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("stored");
        QTest::newRow("blank name refused") << "  　 "
                                            << "x"
                                            << "站点名称不能为空！" << false;
        QTest::newRow("empty name refused") << ""
                                            << "x"
                                            << "站点名称不能为空！" << false;
        QTest::newRow("blanks kept") << "  我的网站 "
                                     << " 前后有空格 "
                                     << "数据保存成功！" << true;
        QTest::newRow("quotes and backslashes") << "O'Neil \"站\""
                                                << "a\\b' ; DROP TABLE user_info; --"
                                                << "数据保存成功！" << true;
    }
    void infoSaveStoresWhatWasTyped()
    {
        QFETCH(QString, webName);
        QFETCH(QString, other);
        QFETCH(QString, message);
        QFETCH(bool, stored);
        ShellFixture f;
        f.db.run("UPDATE user_info SET logo = 'keep.png'");
        {
            infoFrm w(f.ctx);
            const char* boxes[] = {"txt_govName", "txt_addr", "txt_linkMan", "txt_tel",
                                   "txt_mobile",  "txt_fax",  "txt_zip",     "txt_email"};
            child<QLineEdit>(&w, "txt_webName")->setText(webName);
            for (int i = 0; i < 8; ++i)
                child<QLineEdit>(&w, boxes[i])->setText(other + QString::number(i));
            QTest::mouseClick(child<QPushButton>(&w, "cmd_OK"), Qt::LeftButton);
            QVERIFY(f.dlg.lastIs(message, "提示", MsgIcon::Information));
            QCOMPARE(w.hasUnsavedChanges(), !stored);
        }
        const QStringList columns{"gov_name", "Address", "linkMan", "Tel", "Mobile", "Fax", "Zip", "Email"};
        QCOMPARE(f.stored("webName"), stored ? webName : QString());
        for (int i = 0; i < 8; ++i)
            QCOMPARE(f.stored(columns[i]), stored ? other + QString::number(i) : QString());
        QCOMPARE(f.stored("logo"), QStringLiteral("keep.png"));
        // Reopened, the window shows what was stored.
        infoFrm again(f.ctx);
        QCOMPARE(child<QLineEdit>(&again, "txt_webName")->text(), f.stored("webName"));
        QCOMPARE(child<QLineEdit>(&again, "txt_email")->text(), f.stored("Email"));
        QVERIFY(!again.hasUnsavedChanges());
    }

    void infoFailingSaveKeepsTheChanges()
    {
        ShellFixture f;
        infoFrm w(f.ctx);
        child<QLineEdit>(&w, "txt_webName")->setText("站");
        f.db.close();
        QTest::mouseClick(child<QPushButton>(&w, "cmd_OK"), Qt::LeftButton);
        QVERIFY(f.dlg.lastIs("不期望的错误,errNo:infoFrm", "提示", MsgIcon::Critical));
        QVERIFY(w.hasUnsavedChanges());
    }

    // Steps: "pick NAME" (from outside), "pick work/NAME" (already in the logo folder),
    // "pick other/NAME" (same name, different picture), "cancel", "save", "remove", "edit".
    void infoLogo_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("elsewhere");
        QTest::addColumn<QString>("logo");      // stored at the end
        QTest::addColumn<QStringList>("files"); // in the logo folder at the end
        QTest::addColumn<QString>("message");   // the last message
        const QString saved = "数据保存成功！";
        QTest::newRow("choose, save") << QStringList{"pick a.png", "save"} << false << "a.png" << QStringList{"a.png"}
                                      << saved;
        QTest::newRow("second logo not saved keeps the stored file")
            << QStringList{"pick a.png", "save", "pick b.png"} << false << "a.png" << QStringList{"a.png", "b.png"}
            << saved;
        QTest::newRow("second logo saved replaces the first") << QStringList{"pick a.png", "save", "pick b.png", "save"}
                                                              << false << "b.png" << QStringList{"b.png"} << saved;
        QTest::newRow("unsaved choice replaced by another")
            << QStringList{"pick a.png", "pick b.png", "save"} << false << "b.png" << QStringList{"b.png"} << saved;
        QTest::newRow("remove writes at once and a save keeps it empty")
            << QStringList{"pick a.png", "save", "pick b.png", "remove", "edit", "save"} << false << "" << QStringList{}
            << saved;
        QTest::newRow("remove") << QStringList{"pick a.png", "save", "remove"} << false << "" << QStringList{}
                                << "单位徽标已取消！";
        QTest::newRow("Chinese name refused")
            << QStringList{"pick a.png", "save", "pick 徽标.png"} << false << "a.png" << QStringList{"a.png"}
            << "所选择的文件名中不能包含中文，请重命名后选择文件！";
        QTest::newRow("cancel changes nothing") << QStringList{"pick a.png", "save", "cancel"} << false << "a.png"
                                                << QStringList{"a.png"} << DialogService::cancelDescription();
        QTest::newRow("not a picture refused") << QStringList{"pick a.png", "save", "pick bad.jpg"} << false << "a.png"
                                               << QStringList{"a.png"} << Pictures::unreadableMessage();
        QTest::newRow("stored logo chosen again from the folder")
            << QStringList{"pick a.png", "save", "pick work/a.png", "save"} << false << "a.png" << QStringList{"a.png"}
            << saved;
        QTest::newRow("a file of the folder is not deleted for another choice")
            << QStringList{"pick work/w.png", "pick b.png", "save"} << false << "b.png" << QStringList{"b.png", "w.png"}
            << saved;
        QTest::newRow("same name, different picture gets a free name")
            << QStringList{"pick a.png", "save", "pick other/a.png", "save"} << false << "a_2.png"
            << QStringList{"a_2.png"} << saved;
        QTest::newRow("logo folder outside the application directory")
            << QStringList{"pick a.png", "save", "pick b.png", "save"} << true << "b.png" << QStringList{"b.png"}
            << saved;
    }
    void infoLogo()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, elsewhere);
        QFETCH(QString, logo);
        QFETCH(QStringList, files);
        QFETCH(QString, message);
        ShellFixture f(elsewhere);
        f.db.run("UPDATE user_info SET webName = '站'");
        // A file of the same name in the default picture folder is not the logo's to delete.
        const QString decoy = f.app.workPath() + "a.png";
        if (elsewhere)
            QVERIFY(QFile::copy(f.picture("a.png"), decoy));
        writeFile(f.outside.path() + "/pick/bad.jpg", "not a picture");
        QDir().mkpath(f.outside.path() + "/pick/other");
        infoFrm w(f.ctx);
        w.resize(700, 420);
        w.show();
        for (const QString& step : steps) {
            if (step.startsWith("pick ")) {
                const QString name = step.mid(5);
                f.dlg.files << (name.startsWith("other/") ? f.picture(name, 30, 30, 0xffc04020) : f.picture(name));
                QTest::mouseClick(child<QPushButton>(&w, "cmd_view"), Qt::LeftButton);
            } else if (step == "cancel") {
                QTest::mouseClick(child<QPushButton>(&w, "cmd_view"), Qt::LeftButton);
            } else if (step == "save") {
                QTest::mouseClick(child<QPushButton>(&w, "cmd_OK"), Qt::LeftButton);
            } else if (step == "remove") {
                QTest::mouseClick(child<QPushButton>(&w, "cmd_img_cancel"), Qt::LeftButton);
                QCOMPARE(f.stored("logo"), QString());
            } else if (step == "edit") {
                child<QLineEdit>(&w, "txt_tel")->setText("123");
            }
        }
        QCOMPARE(f.dlg.last().text, message);
        QCOMPARE(f.stored("logo"), logo);
        QCOMPARE(f.logoFiles(), files);
        QCOMPARE(w.oldLogoName(), logo);
        if (elsewhere)
            QVERIFY(QFile::exists(decoy));
        // The logo is shown in its box with its proportions.
        const QPixmap shown = child<QLabel>(&w, "img")->pixmap();
        QCOMPARE(shown.isNull(), w.logoName().isEmpty());
        if (!shown.isNull()) {
            const QImage source(f.ctx.imgPath + w.logoName());
            QVERIFY(qAbs(double(shown.width()) / shown.height() - double(source.width()) / source.height()) < 0.05);
            QVERIFY(shown.width() <= child<QLabel>(&w, "img")->width());
        }
    }

    void infoLeavingWithUnsavedChanges_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::newRow("unsaved changes") << true;
        QTest::newRow("nothing changed") << false;
    }
    void infoLeavingWithUnsavedChanges()
    {
        QFETCH(bool, changed);
        ShellFixture f;
        QMdiArea area;
        area.resize(1000, 700);
        auto* w = new infoFrm(f.ctx);
        QMdiSubWindow* infoSub = area.addSubWindow(w);
        QMdiSubWindow* otherSub = area.addSubWindow(new QWidget);
        area.show();
        area.setActiveSubWindow(infoSub);
        if (changed)
            child<QLineEdit>(w, "txt_zip")->setText("100000");
        // Activation moving while the box is open must not bring a second box.
        f.dlg.whileShown = [&](const RecordingDialogService::Shown&) {
            area.setActiveSubWindow(infoSub);
            area.setActiveSubWindow(otherSub);
        };
        area.setActiveSubWindow(otherSub);
        if (changed) {
            QCOMPARE(f.dlg.texts(), QStringList{"数据还未保存！"});
            QVERIFY(f.dlg.lastIs("数据还未保存！", "提示", MsgIcon::Question));
            QCOMPARE(f.dlg.last().buttons, MsgButtons::Ok);
            QCOMPARE(area.activeSubWindow(), infoSub);
        } else {
            QVERIFY(f.dlg.shown.isEmpty());
            QCOMPARE(area.activeSubWindow(), otherSub);
        }
        QCOMPARE(child<QLineEdit>(w, "txt_zip")->text(), changed ? QStringLiteral("100000") : QString());
        QCOMPARE(w->hasUnsavedChanges(), changed);
        QCOMPARE(f.stored("Zip"), QString());
    }
};

WEBLARK_TEST_MAIN(TestShell)
#include "test_shell.moc"
