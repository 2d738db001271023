#include "ContentSite.h"
#include "TestMain.h"
#include "structure/DisplayFormats.h"

#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>

using DisplayFormats::Editor;

namespace {

QLineEdit* title(insDataFrm& w)
{
    return ctl<QLineEdit>(w, "txt_title");
}
QLineEdit* imageName(insDataFrm& w, int slot)
{
    return ctl<QLineEdit>(w, QStringLiteral("txt_img%1").arg(slot));
}
QLabel* preview(insDataFrm& w, int slot)
{
    return ctl<QLabel>(w, QStringLiteral("img%1").arg(slot));
}
void choose(insDataFrm& w, int slot)
{
    ContentSite::press(w, QStringLiteral("cmd_img%1").arg(slot));
}

} // namespace

// Each case gets a fresh site with the content window open on it.
class TestContentWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<ContentSite> site;
    std::unique_ptr<insDataFrm> w;

private Q_SLOTS:
    void init()
    {
        site = std::make_unique<ContentSite>();
        w = site->openWindow();
    }
    void cleanup()
    {
        w.reset();
        site.reset();
    }

    // Every format of the table shows its own editor and names itself in the status bar.
    void formatsShowTheirEditors()
    {
        for (const DisplayFormats::Format& f : DisplayFormats::all()) {
            QVERIFY(site->db.run("UPDATE firstCatalog SET aspFileName=? WHERE firstCatalog='文本页'", {f.code}).ok);
            QVERIFY(ContentSite::release(*w, "文本页"));
            const QByteArray code = f.code.toUtf8();
            QVERIFY2(ContentSite::status(*w, 1) == "显示格式：" + f.statusName(), code);
            QVERIFY2(ctl(*w, "pic_edit")->isVisible() == f.isInPlace(), code);
            QVERIFY2(ctl<QPushButton>(*w, "cmd_ok")->isEnabled() == f.isInPlace(), code);
            QVERIFY2(ctl(*w, "webMultiData")->isVisible() == f.isList(), code);
            QVERIFY2(ctl<QPushButton>(*w, "cmd_addData0")->isEnabled() == f.isList(), code);
            QVERIFY2(ctl(*w, "advEditer")->isVisible() == (f.editor == Editor::Free), code);
            if (!f.isInPlace())
                continue;
            QCOMPARE(ctl<QLabel>(*w, "lbl_head")->text(), f.headCaption());
            QVERIFY2(title(*w)->isVisible() == (f.editor != Editor::BigImage), code);
            for (int i = 0; i < 2; ++i)
                QVERIFY2(preview(*w, i)->isVisible() == (i < f.pictureSlots), code);
        }
        QVERIFY(site->dlg.shown.isEmpty());
    }

    // The first save inserts the page's row, the second updates it with a new title and first
    // picture; after a restart the editors show what was saved.
    void singleRecordPages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("saved"); // value01..value04 after the first save
        const QString t = "It's 标题", c = "line&nbsp;one<br>&nbsp;&nbsp;two&nbsp;&#34;q&#34;", n = "<null>";
        QTest::newRow("txt, level 2") << "二级文本" << 2 << "txt" << QStringList{t, c, n, n};
        QTest::newRow("imgTxt01, level 3") << "三级图文" << 3 << "imgTxt01" << QStringList{t, c, "one.jpg", "two.bmp"};
        QTest::newRow("imgTxt03") << "图文三" << 1 << "imgTxt03" << QStringList{t, c, "one.jpg", ""};
        QTest::newRow("bigImg") << "大图" << 1 << "bigImg" << QStringList{"one.jpg", n, n, n};
    }
    void singleRecordPages()
    {
        QFETCH(QString, page);
        QFETCH(int, level);
        QFETCH(QString, format);
        QFETCH(QStringList, saved);
        const int pictureSlots = DisplayFormats::find(format)->pictureSlots;
        const bool hasText = format != QLatin1String("bigImg");
        QVERIFY(ContentSite::release(*w, page));
        if (hasText) {
            QTest::keyClicks(title(*w), QStringLiteral("It's "));
            title(*w)->insert(QStringLiteral("标题"));
            auto* content = ctl<QPlainTextEdit>(*w, "txt_content");
            QTest::keyClicks(content, QStringLiteral("line one"));
            QTest::keyClick(content, Qt::Key_Return);
            QTest::keyClicks(content, QStringLiteral("  two \"q\""));
        }
        const QString first[2] = {site->picture("one.jpg"), site->picture("two.bmp", 80, 60, "BMP")};
        for (int i = 0; i < pictureSlots; ++i) {
            site->dlg.files.enqueue(first[i]);
            choose(*w, i);
            QCOMPARE(imageName(*w, i)->text(), QFileInfo(first[i]).fileName());
            QVERIFY(!preview(*w, i)->pixmap().isNull());
            QCOMPARE(readFile(site->inWork(QFileInfo(first[i]).fileName())), readFile(first[i]));
        }
        ContentSite::press(*w, "cmd_ok");
        QCOMPARE(site->dlg.texts(), QStringList{"数据已保存！"});
        QCOMPARE(site->dlg.last().icon, MsgIcon::Information);
        QCOMPARE(site->only(level, page), saved);

        // Second save of the visit: the same row, new values; the replaced picture goes.
        if (hasText) {
            title(*w)->clear();
            title(*w)->insert(QStringLiteral("新标题"));
        }
        if (pictureSlots > 0) {
            site->dlg.files.enqueue(site->picture("three.gif.jpg", 50, 40));
            choose(*w, 0);
            QVERIFY2(QFile::exists(site->inWork("one.jpg")), "kept until the record names another picture");
        }
        ContentSite::press(*w, "cmd_ok");
        QCOMPARE(site->only(level, page),
                 saved.replaceInStrings("It's 标题", "新标题").replaceInStrings("one.jpg", "three.gif.jpg"));
        QVERIFY(pictureSlots == 0 || !QFile::exists(site->inWork("one.jpg")));
        // A restart shows the saved page again.
        w.reset();
        site->db.close();
        QVERIFY(site->db.open(site->app.workPath()));
        w = site->openWindow();
        QVERIFY(ContentSite::release(*w, page));
        if (hasText) {
            QCOMPARE(title(*w)->text(), QStringLiteral("新标题"));
            QCOMPARE(ctl<QPlainTextEdit>(*w, "txt_content")->toPlainText(), QStringLiteral("line one\n  two \"q\""));
        }
        if (pictureSlots > 0) {
            QCOMPARE(imageName(*w, 0)->text(), QStringLiteral("three.gif.jpg"));
            QVERIFY(!preview(*w, 0)->pixmap().isNull());
        }
        if (pictureSlots == 2)
            QCOMPARE(imageName(*w, 1)->text(), QStringLiteral("two.bmp"));
        // The row gone meanwhile (the page deleted elsewhere): nothing is stored, and the save says so.
        QVERIFY(site->db.run("DELETE FROM " + SiteDb::contentTable(level)).ok);
        ContentSite::press(*w, "cmd_ok");
        QVERIFY(site->dlg.lastIs("该页面已被删除，数据没有保存！", "警告", MsgIcon::Warning));
    }

    void picturesSwappedBetweenSlotsAreKept_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("swapped") << QStringLiteral("b.jpg") << QStringLiteral("a.jpg");
        QTest::newRow("one picture in both") << QStringLiteral("b.jpg") << QStringLiteral("b.jpg");
    }
    void picturesSwappedBetweenSlotsAreKept()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        TestPictures::write(site->inWork("a.jpg"), 60, 40);
        TestPictures::write(site->inWork("b.jpg"), 40, 60);
        site->db.run("INSERT INTO content01(firstCatalog,value01,value02,value03,value04) "
                     "VALUES('图文一','t','c','a.jpg','b.jpg')");
        QVERIFY(ContentSite::release(*w, "图文一"));
        site->dlg.files.enqueue(site->inWork(first));
        choose(*w, 0);
        site->dlg.files.enqueue(site->inWork(second));
        choose(*w, 1);
        ContentSite::press(*w, "cmd_ok");
        const auto rows = site->contents(1, "图文一");
        QCOMPARE(contentValues(rows.first()).mid(2), (QStringList{first, second}));
        // Every picture the record names is still there.
        QVERIFY(QFile::exists(site->inWork(first)));
        QVERIFY(QFile::exists(site->inWork(second)));
    }

    void bigImgKeepsItsPicture()
    {
        TestPictures::write(site->inWork("big.jpg"), 900, 700);
        site->db.run("INSERT INTO content01(firstCatalog,value01) VALUES('大图','big.jpg')");
        QVERIFY(ContentSite::release(*w, "大图"));
        QCOMPARE(imageName(*w, 0)->text(), QStringLiteral("big.jpg"));
        // 7500 x 6000 twips at most, the picture's shape kept.
        const QSize shown = preview(*w, 0)->pixmap().size();
        QVERIFY(shown.width() <= 500 && shown.height() <= 400);
        QCOMPARE(shown.width() * 7 / 9, shown.height());
        // Saved unchanged, the page keeps its picture.
        ContentSite::press(*w, "cmd_ok");
        QCOMPARE(contentValues(site->contents(1, "大图").value(0)).first(), QStringLiteral("big.jpg"));
        QVERIFY(QFile::exists(site->inWork("big.jpg")));
    }

    void leavingWithUnsavedTyping_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("yes: stay to save") << true;
        QTest::newRow("no: go on") << false;
    }
    void leavingWithUnsavedTyping()
    {
        QFETCH(bool, answerYes);
        QVERIFY(ContentSite::release(*w, "文本页"));
        title(*w)->insert(QStringLiteral("未保存"));
        QTest::keyClick(title(*w), Qt::Key_End);
        site->dlg.answers.enqueue(answerYes ? MsgAnswer::Yes : MsgAnswer::No);
        QVERIFY(ContentSite::release(*w, "二级文本"));
        QCOMPARE(site->dlg.texts(), QStringList{"是否保存当前数据，如需要保存当前数据，单击工具栏上的保存按钮?"});
        QCOMPARE(site->dlg.last().buttons, MsgButtons::YesNo);
        QCOMPARE(site->dlg.last().title, QStringLiteral("提示"));
        site->dlg.clear();
        // The save goes to the page that was being edited after a yes, to the new one after a no.
        ContentSite::press(*w, "cmd_ok");
        if (answerYes) {
            QCOMPARE(title(*w)->text(), QStringLiteral("未保存"));
            QCOMPARE(contentValues(site->contents(1, "文本页").value(0)).first(), QStringLiteral("未保存"));
            QVERIFY(site->contents(2, "二级文本").isEmpty());
        } else {
            QCOMPARE(title(*w)->text(), QString());
            QCOMPARE(site->dlg.texts(), QStringList{"标题不能为空"});
            QVERIFY(site->contents(1, "文本页").isEmpty());
            // Nothing typed since: leaving asks nothing.
            QVERIFY(ContentSite::release(*w, "文本页"));
            QCOMPARE(site->dlg.texts(), QStringList{"标题不能为空"});
        }
    }

    void catalogsAndUnformattedPages()
    {
        // The window opens on the whole site down to level 3, the root selected.
        QVERIFY(ContentSite::item(*w, "三级图文"));
        QCOMPARE(ctl<QTreeWidget>(*w, "tvw_nav")->selectedItems().value(0), ContentSite::item(*w, "测试网站"));
        QCOMPARE(ctl<WebPane>(*w, "webBer")->url().toLocalFile(), site->app.file("tmplImg/welcome02.htm"));
        QCOMPARE(ctl<WebPane>(*w, "webMultiData")->url().toLocalFile(), site->app.file("multiData.htm"));
        QVERIFY(ContentSite::release(*w, "测试网站"));
        QCOMPARE(ContentSite::status(*w, 1), QStringLiteral("显示格式：（该栏目是父节点）"));
        QCOMPARE(ContentSite::status(*w, 0), QStringLiteral("当前栏目：测试网站"));
        QVERIFY(!ctl<QPushButton>(*w, "cmd_ok")->isEnabled());
        QVERIFY(ContentSite::release(*w, "栏目B"));
        QCOMPARE(ContentSite::status(*w, 0), QStringLiteral("当前栏目：栏目B"));
        QVERIFY(site->dlg.shown.isEmpty());

        QVERIFY(ContentSite::release(*w, "未设计"));
        QCOMPARE(site->dlg.shown.size(), 1);
        QVERIFY(site->dlg.lastIs("请先在设计栏目中设计好该栏目或单击右键刷新！", "警告", MsgIcon::Warning));
        QCOMPARE(title(*w)->text(), QString());

        // The right button opens the pop-up menu instead.
        QVERIFY(ContentSite::release(*w, "文本页", Qt::RightButton));
        auto* menu = ctl<QMenu>(*w, "mnuIns");
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void refusedPictures()
    {
        QVERIFY(ContentSite::release(*w, "图文一"));
        const QByteArray jpg = TestPictures::encoded(TestPictures::make(60, 40), "JPG");
        const QList<std::pair<QString, QByteArray>> bad = {{"图片.jpg", jpg}, {"cut.jpg", jpg.left(jpg.size() / 2)}};
        for (const auto& [name, data] : bad) {
            site->dlg.clear();
            site->dlg.files.enqueue(TestPictures::write(site->pictures.filePath(name), data));
            choose(*w, 1);
            QCOMPARE(site->dlg.shown.size(), 1);
            QCOMPARE(site->dlg.last().title, QStringLiteral("提示"));
            QVERIFY2(!QFile::exists(site->inWork(name)), qPrintable(name));
            QCOMPARE(imageName(*w, 1)->text(), QString());
        }
        QCOMPARE(site->dlg.fileFilters.first(), QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif"));
        // Cancel changes nothing and says nothing.
        site->dlg.clear();
        choose(*w, 0);
        QVERIFY(site->dlg.shown.isEmpty());
        QCOMPARE(imageName(*w, 0)->text(), QString());
    }

    void editorsScroll()
    {
        w->resize(700, 420);
        QVERIFY(ContentSite::release(*w, "图文一"));
        auto* bar = ctl<QScrollBar>(*w, "vscrl");
        QTRY_VERIFY(bar->maximum() > 0);
        QWidget* area = ctl<QScrollArea>(*w, "pic_edit")->viewport();
        const auto top = [&](const char* name) { return ctl(*w, name)->mapTo(area, QPoint()).y(); };
        const int headTop = top("lbl_head");
        const int gap = top("img0") - headTop;
        bar->setValue(bar->maximum());
        QVERIFY(top("lbl_head") < headTop);
        QCOMPARE(top("img0") - top("lbl_head"), gap);
        QVERIFY(top("cmd_img0") + ctl(*w, "cmd_img0")->height() <= area->height());
        // Another page starts at the top again.
        QVERIFY(ContentSite::release(*w, "文本页"));
        QCOMPARE(bar->value(), 0);
    }

    // A change of the structure reloads the tree and goes back to the welcome page.
    void structureChangesReloadTheTree()
    {
        QVERIFY(ContentSite::release(*w, "文本页"));
        site->insertRow(1, {"新页面"}, false, 99, "txt");
        Q_EMIT site->ctx.events.structureChanged();
        QVERIFY(ContentSite::item(*w, "新页面"));
        QVERIFY(!ctl(*w, "pic_edit")->isVisible());
        QVERIFY(ctl(*w, "webBer")->isVisible());
        // Nothing is selected: saving reaches no page.
        ContentSite::press(*w, "cmd_ok");
        QVERIFY(site->contents(1, "文本页").isEmpty());
        QVERIFY(ContentSite::release(*w, "新页面"));
        QCOMPARE(ContentSite::status(*w, 1), QStringLiteral("显示格式：文本格式"));
    }
};

WEBLARK_TEST_MAIN(TestContentWindow)
#include "test_content_window.moc"
